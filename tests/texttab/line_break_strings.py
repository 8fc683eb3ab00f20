#!/usr/bin/python3
"""The drawing of line_break_strings.play: TEXTs and attribute values holding line breaks among
plain ones, a paragraph and a line separator written as they are, a line feed and a carriage
return as the \\U+ escapes a DXF carries them in. The check: the strings with a line break are
as they were, the edited ones changed and no TEXT was added.

Usage: line_break_strings.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "play"))
from playdrawing import add_insert, expect_count, expect_strings, new_drawing, run  # noqa: E402

TEXTS = ["L1", "X\u2029Y", "L3", "L4", "A\u2028B", "C\\U+000AD", "E\\U+000DF"]  # A000 .. A006


def build():
    doc, msp = new_drawing(blocks=[("PUMP", [("NAME", 0, 3)])])
    for i, text in enumerate(TEXTS):
        msp.add_text(text, dxfattribs={"insert": (10, 100 - 10 * i), "height": 2.5})
    add_insert(msp, "PUMP", (50, 20), {"NAME": "P-1"})  # A007, its NAME A009
    add_insert(msp, "PUMP", (60, 20), {"NAME": "P\\U+000A2"})  # A00A, its NAME A00C
    add_insert(msp, "PUMP", (70, 20), {"NAME": "P-3"})  # A00D, its NAME A00F
    return doc


def check(doc):
    wanted = {"A%03X" % i: text for i, text in enumerate(TEXTS)}
    wanted.update({"A003": "L4B", "A009": "P-1", "A00C": "P\\U+000A2", "A00F": "P-3A"})
    expect_strings(doc, wanted)
    expect_count(doc, "TEXT", len(TEXTS))


run(build, check)
