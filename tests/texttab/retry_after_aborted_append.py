#!/usr/bin/python3
"""The drawing of retry_after_aborted_append.play: one TEXT. The check: the line appended by the
retry is there once, one step below, and no copy of the TEXT lies on top of it.

Usage: retry_after_aborted_append.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "play"))
from playdrawing import expect_count, expect_strings, new_drawing, run  # noqa: E402


def build():
    doc, msp = new_drawing()
    msp.add_text("P-101", dxfattribs={"insert": (10, 20), "height": 2.5})  # A000
    return doc


def check(doc):
    expect_strings(doc, {"A000": "P-101"})
    expect_count(doc, "TEXT", 2)
    texts = {t.dxf.text: tuple(t.dxf.insert)[:2] for t in doc.modelspace().query("TEXT")}
    if texts.get("P-102") != (10, 15):
        sys.exit("P-102 is not one TEXT at (10, 15): %r" % texts)


run(build, check)
