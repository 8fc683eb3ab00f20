#!/usr/bin/python3
"""Prepares and checks reload_keeps_records.play and reload_refuses_changed_records.play.

prepare: writes changed.dxf, the sample drawing as another program saved it with TEXT 175
("TB-03") changed. check: out.dxf holds the line the script wrote last into TEXT 171, and
the other program's TEXT 175, each once.

Usage: reload_keeps_records.py prepare|check [TB-01 line]
"""
import sys

import ezdxf

OTHER = "TB-03 (他)"


def prepare():
    doc = ezdxf.readfile("plant.dxf")
    doc.entitydb["175"].dxf.text = OTHER
    doc.saveas("changed.dxf")


def check(line):
    doc = ezdxf.readfile("out.dxf")
    strings = [t.dxf.text for t in doc.modelspace().query("TEXT")]
    wrong = []
    if doc.entitydb["171"].dxf.text != line:
        wrong.append("171 holds %r, not %r" % (doc.entitydb["171"].dxf.text, line))
    if doc.entitydb["175"].dxf.text != OTHER:
        wrong.append("175 holds %r, not the other program's %r" % (doc.entitydb["175"].dxf.text, OTHER))
    for s in (line, OTHER):
        if strings.count(s) != 1:
            wrong.append("%s: %d TEXTs, not 1" % (s, strings.count(s)))
    if wrong:
        sys.exit("out.dxf as ezdxf reads it:\n" + "\n".join(wrong))


def main(line="TB-01X"):
    if len(sys.argv) != 2 or sys.argv[1] not in ("prepare", "check"):
        sys.exit(__doc__)
    if sys.argv[1] == "prepare":
        prepare()
    else:
        check(line)


if __name__ == "__main__":
    main()
