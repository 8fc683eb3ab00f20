#!/usr/bin/python3
"""Renders drawings with ezdxf's drawing add-on and matplotlib and compares their ink with
pictures of ours drawn at the same window and size.

  compare_rendering.py extents DXF...
      prints "FILE X1 Y1 X2 Y2" per drawing: its model-space extents by ezdxf, with a margin
  compare_rendering.py compare SIZE LIST
      LIST holds lines "DXF OURS.png X1 Y1 X2 Y2"; SIZE is WxH. Prints per drawing
      "FILE REFERENCE_COVERED OURS_COVERED REFERENCE_INK OURS_INK": the share of the
      reference's ink pixels that have ink of ours within a few pixels, the reverse, and
      how many ink pixels each picture has. The reference picture is kept beside ours.

Ink is any pixel that differs from the background both renderers share by more than the
faint edges of anti-aliasing: thin text in dark colours counts.
"""
import logging
import os
import sys
import warnings

warnings.filterwarnings("ignore")
logging.disable(logging.WARNING)  # fonts ezdxf asks for and matplotlib lacks

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import ezdxf
from ezdxf import bbox, recover
from ezdxf.addons.drawing import Frontend, RenderContext
from ezdxf.addons.drawing.matplotlib import MatplotlibBackend

BACKGROUND = np.array([33, 40, 48])
INK_THRESHOLD = 24
NEAR = 3  # pixels
MARGIN = 0.05
DPI = 100


def read(path):
    try:
        return ezdxf.readfile(path)
    except Exception:
        doc, _ = recover.readfile(path)
        return doc


def extents(path):
    doc = read(path)
    box = bbox.extents(doc.modelspace(), fast=True)
    if not box.has_data:
        return None
    (x1, y1, _), (x2, y2, _) = box.extmin, box.extmax
    w, h = max(x2 - x1, 1e-6), max(y2 - y1, 1e-6)
    return x1 - w * MARGIN, y1 - h * MARGIN, x2 + w * MARGIN, y2 + h * MARGIN


def render_reference(path, window, size, out):
    width, height = size
    doc = read(path)
    fig = plt.figure(figsize=(width / DPI, height / DPI), dpi=DPI)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_axis_off()
    ctx = RenderContext(doc)
    Frontend(ctx, MatplotlibBackend(ax)).draw_layout(doc.modelspace(), finalize=False)
    x1, y1, x2, y2 = window
    # The same fit as ours: the window centred, one scale for both axes.
    scale = min(width / max(x2 - x1, 1e-9), height / max(y2 - y1, 1e-9))
    cx, cy = (x1 + x2) / 2, (y1 + y2) / 2
    ax.set_xlim(cx - width / 2 / scale, cx + width / 2 / scale)
    ax.set_ylim(cy - height / 2 / scale, cy + height / 2 / scale)
    ax.set_aspect("auto")
    fig.patch.set_facecolor(BACKGROUND / 255)
    ax.set_facecolor(BACKGROUND / 255)
    fig.savefig(out, dpi=DPI, facecolor=BACKGROUND / 255)
    plt.close(fig)


def ink(path):
    picture = plt.imread(path)
    rgb = (picture[..., :3] * 255 if picture.dtype != np.uint8 else picture[..., :3]).astype(int)
    return np.abs(rgb - BACKGROUND).max(axis=2) > INK_THRESHOLD


def grown(mask, radius):
    out = mask.copy()
    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            shifted = np.roll(np.roll(mask, dy, axis=0), dx, axis=1)
            out |= shifted
    return out


def covered(of, by):
    total = int(of.sum())
    if total == 0:
        return 1.0
    return float((of & grown(by, NEAR)).sum()) / total


def compare(size_text, list_path):
    size = tuple(int(v) for v in size_text.split("x"))
    for line in open(list_path, encoding="utf-8"):
        parts = line.split()
        if len(parts) != 6:
            continue
        path, ours_png = parts[0], parts[1]
        if not os.path.exists(ours_png):
            print(f"{os.path.basename(path)} ours-missing", flush=True)
            continue
        window = tuple(float(v) for v in parts[2:])
        reference_png = ours_png[:-4] + ".reference.png"
        try:
            render_reference(path, window, size, reference_png)
        except Exception as error:  # the reference failed on this drawing
            print(f"{os.path.basename(path)} reference-failed {type(error).__name__}", flush=True)
            continue
        reference, ours = ink(reference_png), ink(ours_png)
        if reference.shape != ours.shape:
            print(f"{os.path.basename(path)} size-differs", flush=True)
            continue
        print(f"{os.path.basename(path)} {covered(reference, ours):.3f} {covered(ours, reference):.3f} "
              f"{int(reference.sum())} {int(ours.sum())}", flush=True)


def main():
    if sys.argv[1] == "extents":
        for path in sys.argv[2:]:
            try:
                box = extents(path)
            except Exception as error:  # ezdxf cannot measure this drawing
                print(path, "extents-failed", type(error).__name__, flush=True)
                continue
            if box:
                print(path, *(f"{v:.6g}" for v in box), flush=True)
    elif sys.argv[1] == "compare":
        compare(sys.argv[2], sys.argv[3])


main()
