#!/usr/bin/python3
"""Reads the drawing undo_redo_between_updates.play saved back with ezdxf: each of the four
lines is one TEXT, none twice, and TB-02 (erased by the first update) stays erased.

Usage: undo_redo_between_updates.py prepare|check
"""
import sys

import ezdxf


def check():
    doc = ezdxf.readfile("out.dxf")
    strings = [t.dxf.text for t in doc.modelspace().query("TEXT")]
    wrong = []
    for line in ("TB-01", "TB-02X", "TB-03", "TB-X4"):
        if strings.count(line) != 1:
            wrong.append("%s: %d TEXTs, not 1" % (line, strings.count(line)))
    if "TB-02" in strings:
        wrong.append("TB-02 is back")
    if wrong:
        sys.exit("out.dxf as ezdxf reads it:\n" + "\n".join(wrong))


def main():
    if len(sys.argv) != 2 or sys.argv[1] not in ("prepare", "check"):
        sys.exit(__doc__)
    if sys.argv[1] == "check":
        check()


if __name__ == "__main__":
    main()
