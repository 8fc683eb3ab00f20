#!/usr/bin/python3
"""Prepares and checks reload_refuses_changed_records.play: see reload_keeps_records.py.

Usage: reload_refuses_changed_records.py prepare|check
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import reload_keeps_records  # noqa: E402

if __name__ == "__main__":
    reload_keeps_records.main("TB-01B")
