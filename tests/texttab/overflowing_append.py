#!/usr/bin/python3
"""The drawing of overflowing_append.play: two TEXTs one above the other. The check: after the
failed append no copy is left, and the line appended later is there once, one step below.

Usage: overflowing_append.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "play"))
from playdrawing import expect_count, expect_stacked_texts, expect_strings, new_drawing, run  # noqa: E402


def build():
    doc, msp = new_drawing()
    msp.add_text("P-101", dxfattribs={"insert": (10, 20), "height": 2.5})  # A000
    msp.add_text("P-102", dxfattribs={"insert": (10, 15), "height": 2.5})  # A001
    return doc


def check(doc):
    expect_strings(doc, {"A000": "P-101", "A001": "P-102"})
    expect_count(doc, "TEXT", 3)
    expect_stacked_texts(doc, ["P-101", "P-102", "P-103"])


run(build, check)
