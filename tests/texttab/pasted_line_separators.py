#!/usr/bin/python3
"""The drawing of pasted_line_separators.play: two TEXTs one above the other. The check:
every line pasted or typed became a TEXT of its own, stepped down by 5, and no TEXT holds a
line or paragraph separator.

Usage: pasted_line_separators.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "play"))
from playdrawing import expect_stacked_texts, expect_strings, new_drawing, run  # noqa: E402


def build():
    doc, msp = new_drawing()
    msp.add_text("a1", dxfattribs={"insert": (10, 20), "height": 2.5})  # A000
    msp.add_text("a2", dxfattribs={"insert": (10, 15), "height": 2.5})  # A001
    return doc


def check(doc):
    expect_strings(doc, {"A000": "a1", "A001": "a2"})
    expect_stacked_texts(doc, ["a1", "a2", "p1", "p2", "p3", "m1", "m2", "t1", "t2"])


run(build, check)
