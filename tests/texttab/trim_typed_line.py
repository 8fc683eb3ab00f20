#!/usr/bin/python3
"""The drawing of trim_typed_line.play: two TEXTs and two PUMP references whose second string
ends in blanks. The check: the blanks are still there and nothing was added.

Usage: trim_typed_line.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "play"))
from playdrawing import add_insert, expect_count, expect_strings, new_drawing, run  # noqa: E402


def build():
    doc, msp = new_drawing(blocks=[("PUMP", [("NAME", 0, 3)])])
    msp.add_text("KEEP", dxfattribs={"insert": (10, 20), "height": 2.5})  # A000
    msp.add_text("TAIL  ", dxfattribs={"insert": (10, 10), "height": 2.5})  # A001
    add_insert(msp, "PUMP", (50, 20), {"NAME": "P-1"})  # A002, its NAME A004
    add_insert(msp, "PUMP", (50, 10), {"NAME": "P-2  "})  # A005, its NAME A007
    return doc


def check(doc):
    expect_strings(doc, {"A000": "KEEP", "A001": "TAIL  ", "A004": "P-1A", "A007": "P-2  "})
    expect_count(doc, "TEXT", 2)


run(build, check)
