#!/usr/bin/python3
"""The drawing of grid_fixed_cells.play: three PUMP references with a NAME and a SPEC each.
The check: the values pasted and restored in the grid reached the attributes.

Usage: grid_fixed_cells.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "play"))
from playdrawing import add_insert, expect_strings, new_drawing, run  # noqa: E402


def build():
    doc, msp = new_drawing(blocks=[("PUMP", [("NAME", 0, 3, "機器名"), ("SPEC", 0, -3, "仕様")])])
    # Each reference takes four handles: the INSERT, the end of its list, its NAME and its SPEC.
    add_insert(msp, "PUMP", (10, 50), {"NAME": "P-1", "SPEC": "10kW"})  # A000: A002, A003
    add_insert(msp, "PUMP", (10, 40), {"NAME": "P-2", "SPEC": "20kW"})  # A004: A006, A007
    add_insert(msp, "PUMP", (10, 30), {"NAME": "P-3", "SPEC": "30kW"})  # A008: A00A, A00B
    return doc


def check(doc):
    expect_strings(doc, {"A002": "HDR", "A003": "10kW", "A006": "HDR", "A007": "20kW",
                         "A00A": "P-3", "A00B": "30kW"})


run(build, check)
