#!/usr/bin/python3
"""Reads the drawing append_right_aligned.play saved back with ezdxf: the appended TEXT has its
insertion point and its alignment point one step below the TEXT it was copied from, as that
one has both at its own place.

Usage: append_right_aligned.py prepare|check
"""
import sys

import ezdxf

EXPECTED = {"174": (262.0, 165.5), "1B0": (262.0, 161.0)}


def check():
    doc = ezdxf.readfile("out.dxf")
    wrong = []
    for handle, (x, y) in EXPECTED.items():
        text = doc.entitydb[handle]
        if text.dxf.halign != 2:
            wrong.append("%s: aligned %d, not right" % (handle, text.dxf.halign))
        for name in ("insert", "align_point"):
            point = text.dxf.get(name)
            if point is None or abs(point.x - x) > 1e-9 or abs(point.y - y) > 1e-9:
                wrong.append("%s: %s is %s, not (%g, %g)" % (handle, name, point, x, y))
    if wrong:
        sys.exit("out.dxf as ezdxf reads it:\n" + "\n".join(wrong))


def main():
    if len(sys.argv) != 2 or sys.argv[1] not in ("prepare", "check"):
        sys.exit(__doc__)
    if sys.argv[1] == "check":
        check()


if __name__ == "__main__":
    main()
