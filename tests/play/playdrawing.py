"""What the ezdxf drawings of play scripts share. A script's NAME.py hands run() a function that
builds its drawing and one that checks the drawing the script saved:

  NAME.py prepare   writes NAME.dxf into the work folder, for the script to open
  NAME.py check     reads out.dxf back with ezdxf and fails with a message where it is wrong

Entities added after new_drawing() get the handles A000, A001, ... in the order they are
added, so that a script can pick them by handle whatever ezdxf's own objects take.
"""
import os
import sys

import ezdxf

FIRST_HANDLE = "A000"


def new_drawing(layers=(), blocks=()):
    """A new R2018 drawing with the layers and the blocks given: (name, [(tag, x, y, prompt),
    ...]), the prompt being optional."""
    doc = ezdxf.new("R2018")
    for layer in layers:
        doc.layers.add(layer)
    for name, tags in blocks:
        block = doc.blocks.new(name)
        block.add_line((-1, 0), (1, 0))
        for tag, x, y, *prompt in tags:
            attribs = {"height": 2.5, "prompt": prompt[0]} if prompt else {"height": 2.5}
            block.add_attdef(tag, (x, y), dxfattribs=attribs)
    doc.entitydb.handles.reset(FIRST_HANDLE)
    return doc, doc.modelspace()


def add_insert(msp, block, point, values):
    """A block reference at point whose attributes hold the values {tag: text}."""
    insert = msp.add_blockref(block, point)
    insert.add_auto_attribs(values)
    return insert


def expect_strings(doc, wanted):
    """Fails unless the TEXT or ATTRIB of each handle holds its string, as written in the file."""
    for handle, text in wanted.items():
        entity = doc.entitydb.get(handle)
        if entity is None:
            sys.exit("out.dxf has no entity %s" % handle)
        if entity.dxf.text != text:
            sys.exit("entity %s holds %r, not %r" % (handle, entity.dxf.text, text))


def expect_count(doc, kind, count):
    found = len(doc.modelspace().query(kind))
    if found != count:
        sys.exit("out.dxf holds %d %s entities, not %d" % (found, kind, count))


def expect_stacked_texts(doc, strings, x=10, top=20, step=5):
    """Fails unless model space holds exactly these TEXTs, the first at (x, top) and each next
    one `step` lower: every line written once, in its place."""
    placed = sorted((t.dxf.text, tuple(t.dxf.insert)[:2]) for t in doc.modelspace().query("TEXT"))
    wanted = sorted((s, (x, top - step * k)) for k, s in enumerate(strings))
    if placed != wanted:
        sys.exit("the TEXTs are %r, not %r" % (placed, wanted))


def run(build, check):
    """Does what the play runner asks for: prepare (build() returns the drawing) or check."""
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    if len(sys.argv) != 2 or sys.argv[1] not in ("prepare", "check"):
        sys.exit("usage: %s.py prepare|check" % name)
    if sys.argv[1] == "prepare":
        build().saveas(name + ".dxf")
    else:
        check(ezdxf.readfile("out.dxf"))
