#!/usr/bin/python3
"""Drawings for open_damaged_drawing.play, made from the sample drawing ezdxf wrote, and the
check of the drawing the script saved.

  prepare  cut.dxf: plant.dxf cut off before the 31st TEXT of its ENTITIES section;
           no_eof.dxf: plant.dxf without its EOF record
  check    out.dxf (the saved no_eof.dxf) is plant.dxf byte for byte, and ezdxf reads it whole

Usage: open_damaged_drawing.py prepare|check
"""
import sys

import ezdxf

TEXT = b"  0\nTEXT\n"


def prepare():
    with open("plant.dxf", "rb") as file:
        whole = file.read()
    at = whole.index(b"  2\nENTITIES\n")
    for _ in range(31):
        at = whole.index(TEXT, at + 1)
    with open("cut.dxf", "wb") as file:
        file.write(whole[:at])
    if not whole.endswith(b"  0\nEOF\n"):
        sys.exit("plant.dxf does not end with EOF")
    with open("no_eof.dxf", "wb") as file:
        file.write(whole[: -len(b"  0\nEOF\n")])


def check():
    with open("plant.dxf", "rb") as plant, open("out.dxf", "rb") as out:
        if plant.read() != out.read():
            sys.exit("out.dxf is not the sample drawing as it was")
    doc = ezdxf.readfile("out.dxf")
    texts = len(doc.modelspace().query("TEXT"))
    if texts != 60:
        sys.exit("ezdxf finds %d TEXTs in out.dxf, not 60" % texts)


def main():
    if len(sys.argv) != 2 or sys.argv[1] not in ("prepare", "check"):
        sys.exit(__doc__)
    if sys.argv[1] == "prepare":
        prepare()
    else:
        check()


if __name__ == "__main__":
    main()
