#!/usr/bin/python3
"""The drawing of shift_enter_breaks_line.play: two TEXTs one above the other. The check:
the line typed after Shift+Enter became a TEXT of its own, one step below, and the
fetched TEXT kept its string.

Usage: shift_enter_breaks_line.py prepare|check
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
    expect_stacked_texts(doc, ["a1", "a2", "new"])


run(build, check)
