#!/usr/bin/python3
"""Writes a set of drawings with ezdxf as a project keeps them: every sheet has a title block
(tags DWGNO, TITLE, REV, DATE and NOTE twice), terminal blocks (TAG, WIRE, FROM, TO), one of
them on a locked layer, TEXTs, a LINE and extended data. The versions and code pages go round
R12, R2000 in ANSI_932, R2000 in ANSI_1252 (Japanese as \\U+ escapes) and R2018.

Usage: make_sheets.py OUTDIR COUNT
Prints the paths written, one a line.
"""
import os
import sys

import ezdxf

APP_ID = "KALVEX_PEER"
VERSIONS = [("R12", None), ("R2000", "cp932"), ("R2000", None), ("R2018", None)]


def add_blocks(doc):
    title = doc.blocks.new("TITLE")
    title.add_line((0, 0), (180, 0))
    for row, tag in enumerate(["DWGNO", "TITLE", "REV", "DATE", "NOTE", "NOTE"]):
        title.add_attdef(tag, (2, 2 + 5 * row), dxfattribs={"height": 2.5})
    term = doc.blocks.new("TERM")
    term.add_circle((0, 0), 1.5)
    for row, tag in enumerate(["TAG", "WIRE", "FROM", "TO"]):
        term.add_attdef(tag, (2, 3 * row), dxfattribs={"height": 1.8})


def add_title(msp, number):
    title = msp.add_blockref("TITLE", (400, 10), dxfattribs={"layer": "TITLE"})
    values = [("DWGNO", "E-%04d" % number), ("TITLE", "制御盤 結線図 %d" % number), ("REV", "A"),
              ("DATE", "2024-04-01"), ("NOTE", "注記 一"), ("NOTE", "注記 二")]
    for row, (tag, text) in enumerate(values):
        title.add_attrib(tag, text, (402, 12 + 5 * row), dxfattribs={"layer": "TITLE"})
    title.set_xdata(APP_ID, [(1000, "sheet %d" % number)])


def add_terminal(msp, number, index, layer):
    x, y = 20 + 30 * index, 200
    terminal = msp.add_blockref("TERM", (x, y), dxfattribs={"layer": layer})
    values = [("TAG", "X%d" % index), ("WIRE", "W-%d-%d" % (number, index)),
              ("FROM", "TB1-%d" % index), ("TO", "端子台2-%d" % index)]
    for row, (tag, text) in enumerate(values):
        terminal.add_attrib(tag, text, (x + 2, y + 3 * row), dxfattribs={"layer": layer})


def make_sheet(path, number):
    version, encoding = VERSIONS[number % len(VERSIONS)]
    doc = ezdxf.new(version)
    if encoding:
        doc.encoding = encoding
    doc.appids.new(APP_ID)
    doc.layers.add("TITLE", color=7)
    doc.layers.add("WIRES", color=1)
    doc.layers.add("LOCKED", color=2).lock()
    add_blocks(doc)
    msp = doc.modelspace()
    add_title(msp, number)
    for index in range(5):
        add_terminal(msp, number, index, "WIRES")
    add_terminal(msp, number, 5, "LOCKED")
    msp.add_text("盤内配線 %d" % number, dxfattribs={"layer": "WIRES", "insert": (20, 180)})
    msp.add_text("SHEET %d" % number, dxfattribs={"insert": (20, 170)})
    msp.add_line((0, 0), (420, 297), dxfattribs={"layer": "WIRES"})
    doc.saveas(path)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    for number in range(1, int(sys.argv[2]) + 1):
        path = os.path.join(sys.argv[1], "sheet_%02d.dxf" % number)
        make_sheet(path, number)
        print(path)


if __name__ == "__main__":
    main()
