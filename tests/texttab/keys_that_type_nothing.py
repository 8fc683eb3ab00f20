#!/usr/bin/python3
"""The drawing of keys_that_type_nothing.play: two TEXTs whose strings end in blanks. The check:
the first keeps its blanks; the second was typed on and lost them.

Usage: keys_that_type_nothing.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "play"))
from playdrawing import expect_count, expect_strings, new_drawing, run  # noqa: E402


def build():
    doc, msp = new_drawing()
    msp.add_text("TAIL  ", dxfattribs={"insert": (10, 20), "height": 2.5})  # A000
    msp.add_text("KEEP  ", dxfattribs={"insert": (10, 15), "height": 2.5})  # A001
    return doc


def check(doc):
    expect_strings(doc, {"A000": "TAIL  ", "A001": "KEEPS"})
    expect_count(doc, "TEXT", 2)


run(build, check)
