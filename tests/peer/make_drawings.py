#!/usr/bin/python3
"""Writes the peer drawings with ezdxf: one per DXF version and code page, same content in each.

Usage: make_drawings.py OUTDIR [NAME...]
Writes all drawings, or those named; prints the names of the files written, one a line.
"""
import os
import sys

import ezdxf

APP_ID = "KALVEX_PEER"

# name, ezdxf version, Python codec of $DWGCODEPAGE (None: ezdxf's default, cp1252)
DRAWINGS = [
    ("peer_r12.dxf", "R12", None),
    ("peer_r2000_ansi1252.dxf", "R2000", None),
    ("peer_r2000_ansi932.dxf", "R2000", "cp932"),
    ("peer_r2018.dxf", "R2018", None),
]


def add_layers(doc):
    doc.layers.add("DENKI", color=1)
    doc.layers.add("Locked", color=2).lock()
    doc.layers.add("NOTES", color=3)


def add_block(doc):
    block = doc.blocks.new("VALVE")
    block.add_line((-1, 0), (1, 0))
    block.add_text("block text", dxfattribs={"height": 0.5})
    block.add_attdef("TAG", (0, 1), dxfattribs={"prompt": "Tag number", "height": 0.5})
    block.add_attdef("NAME", (0, -1), dxfattribs={"prompt": "名称", "height": 0.5})


def add_texts(doc, msp):
    msp.add_text("PUMP-01", dxfattribs={"layer": "DENKI", "insert": (10, 20), "height": 2.5})
    msp.add_text("配電盤 P-1", dxfattribs={"layer": "DENKI", "insert": (10, 30), "height": 2.5})
    msp.add_text("ﾎﾟﾝﾌﾟ ①±φ100℃", dxfattribs={"layer": "NOTES", "insert": (10.125, -4.5)})
    msp.add_text("café Ä", dxfattribs={"layer": "NOTES", "insert": (0, 0)})
    msp.add_text("C:\\work\\pump\tA", dxfattribs={"layer": "NOTES", "insert": (1, 1)})
    centred = msp.add_text("中央", dxfattribs={"layer": "DENKI", "insert": (5, 5)})
    centred.dxf.halign, centred.dxf.valign, centred.dxf.align_point = 1, 2, (50, 60)
    bottom = msp.add_text("下揃え", dxfattribs={"layer": "DENKI", "insert": (7, 7)})
    bottom.dxf.valign, bottom.dxf.align_point = 1, (70.25, 80.75)
    right = msp.add_text("RIGHT", dxfattribs={"layer": "Locked", "insert": (9, 9)})
    right.dxf.halign, right.dxf.align_point = 2, (90, 95)
    msp.add_text("施錠レイヤ", dxfattribs={"layer": "LOCKED", "insert": (3, 3)})
    noted = msp.add_text("XDATA付き", dxfattribs={"layer": "NOTES", "insert": (4, 4)})
    noted.set_xdata(APP_ID, [(1000, "メモ"), (1040, 3.5), (1070, 7)])


def add_inserts(msp):
    first = msp.add_blockref("VALVE", (100, 200), dxfattribs={"layer": "DENKI"})
    first.add_attrib("TAG", "V-101", (100, 201), dxfattribs={"layer": "DENKI", "height": 0.5})
    name = first.add_attrib("NAME", "給水弁", (100, 199), dxfattribs={"layer": "DENKI"})
    name.dxf.halign, name.dxf.valign, name.dxf.align_point = 1, 3, (100.5, 199.5)
    locked = msp.add_blockref("VALVE", (300, 400), dxfattribs={"layer": "Locked"})
    locked.add_attrib("TAG", "V-102", (300, 401), dxfattribs={"layer": "Locked"})
    locked.add_attrib("NAME", "排水弁", (300, 399), dxfattribs={"layer": "0"})
    locked.set_xdata(APP_ID, [(1000, "locked insert")])
    msp.add_blockref("VALVE", (500, 600))  # no attributes


def make_drawing(path, version, encoding):
    doc = ezdxf.new(version)
    if encoding:
        doc.encoding = encoding
    doc.appids.new(APP_ID)
    add_layers(doc)
    add_block(doc)
    msp = doc.modelspace()
    add_texts(doc, msp)
    add_inserts(msp)
    doc.layout("Layout1").add_text("paper space", dxfattribs={"insert": (1, 2)})
    msp.add_line((0, 0), (10, 10), dxfattribs={"layer": "DENKI"})
    doc.saveas(path)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    wanted = sys.argv[2:]
    unknown = set(wanted) - {name for name, _, _ in DRAWINGS}
    if unknown:
        sys.exit("unknown drawing: " + ", ".join(sorted(unknown)))
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, version, encoding in DRAWINGS:
        if wanted and name not in wanted:
            continue
        make_drawing(os.path.join(sys.argv[1], name), version, encoding)
        print(name)


if __name__ == "__main__":
    main()
