#!/usr/bin/python3
"""Writes the project's own corpus of drawings by another program: ezdxf, with the quirks that
other writers' files have put in afterwards (raw bytes, reordered codes, duplicate and empty
handles, no header, bytes after EOF, a binary file).

Usage: make_corpus.py OUTDIR
Writes the drawings and corpus.json, which says what each holds: per file the number of TEXTs,
INSERTs and attributes in model space, the locked layer, the strings and alignment codes of
some entities by handle, whether the file round-trips byte for byte or gains an EOF, and the
warning the reader must give.
"""
import json
import os
import sys

import ezdxf

APP_ID = "KALVEX_CORPUS"
# 々 is E3 80 85 in UTF-8: a reader that splits lines at 0x85 breaks it.
JAPANESE = "配電盤々 P-1"
ALIGNMENT = {0: 0, 1: 12, 2: 9, 3: 6}  # the CAD's alignment code: valign's base plus halign


def entry(texts=0, inserts=0, attributes=0, locked="", strings=None, alignments=None,
          roundtrip="same", warning=""):
    return {"texts": texts, "inserts": inserts, "attributes": attributes, "locked": locked,
            "strings": strings or {}, "alignments": alignments or {}, "roundtrip": roundtrip,
            "warning": warning}


def base_drawing(version):
    """One drawing as it is saved in several versions: Japanese, a locked layer, attributes."""
    doc = ezdxf.new(version)
    doc.appids.new(APP_ID)
    doc.layers.add("DENKI", color=1)
    doc.layers.add("Layer_Lock", color=2).lock()
    block = doc.blocks.new("PUMP")
    block.add_circle((0, 0), 5)
    block.add_attdef("NAME", (0, 6), dxfattribs={"prompt": "機器名", "height": 2})
    block.add_attdef("SPEC", (0, -6), dxfattribs={"prompt": "仕様", "height": 2})
    msp = doc.modelspace()
    strings = {}
    for text, layer, at in ((JAPANESE, "DENKI", (0, 0)), ("café Ä", "0", (0, 10)),
                            ("施錠", "Layer_Lock", (0, 20)), ("PUMP-01", "DENKI", (0, 30))):
        strings[msp.add_text(text, dxfattribs={"layer": layer, "insert": at}).dxf.handle] = text
    for number, at in ((1, (50, 0)), (2, (80, 0))):
        ref = msp.add_blockref("PUMP", at, dxfattribs={"layer": "DENKI"})
        name = ref.add_attrib("NAME", f"ポンプ{number}", (at[0], at[1] + 6))
        name.set_xdata(APP_ID, [(1000, "メモ"), (1070, number)])
        strings[name.dxf.handle] = f"ポンプ{number}"
        ref.add_attrib("SPEC", f"{number}.5kW", (at[0], at[1] - 6))
    return doc, entry(4, 2, 4, "Layer_Lock", strings)


def write_base(out, manifest):
    for version, name in (("R12", "base_r12.dxf"), ("R2000", "base_r2000.dxf"),
                          ("R2018", "base_r2018.dxf")):
        doc, content = base_drawing(version)
        doc.saveas(os.path.join(out, name))
        manifest[name] = content


def replace_once(data, old, new):
    if old not in data:
        raise SystemExit(f"make_corpus: {old!r} not found")
    return data.replace(old, new, 1)


def write_r12_raw(out, manifest):
    """R12 with raw cp1252 bytes, no $DWGCODEPAGE, and a TEXT's codes out of the usual order."""
    doc = ezdxf.new("R12")
    text = doc.modelspace().add_text("café Ärger", dxfattribs={"insert": (1, 2), "layer": "NOTES"})
    path = os.path.join(out, "r12_raw_bytes.dxf")
    doc.saveas(path)
    with open(path, "rb") as f:
        data = f.read()
    data = replace_once(data, b"  9\n$DWGCODEPAGE\n  3\nANSI_1252\n", b"")
    # The layer after the string, as some writers put it.
    data = replace_once(data, b"  8\nNOTES\n", b"")
    data = replace_once(data, "  1\ncafé Ärger\n".encode("cp1252"),
                        "  1\ncafé Ärger\n  8\nNOTES\n".encode("cp1252"))
    with open(path, "wb") as f:
        f.write(data)
    manifest["r12_raw_bytes.dxf"] = entry(1, strings={text.dxf.handle: "café Ärger"})


def write_binary(out):
    doc = ezdxf.new("R2000")
    doc.modelspace().add_text("binary")
    doc.saveas(os.path.join(out, "binary.dxf"), fmt="bin")


def write_attrib_mtext(out, manifest):
    """A multi-line attribute whose text lives in its embedded MTEXT, and an ATTRIB with an
    extension dictionary."""
    doc = ezdxf.new("R2018")
    block = doc.blocks.new("NOTE")
    block.add_attdef("MEMO", (0, 0), dxfattribs={"prompt": "メモ"})
    block.add_attdef("TAG", (0, -5), dxfattribs={"prompt": "タグ"})
    ref = doc.modelspace().add_blockref("NOTE", (10, 10))
    memo = ref.add_attrib("MEMO", "", (10, 10))
    memo.embed_mtext(ezdxf.entities.MText.new(dxfattribs={"insert": (10, 10)}))
    memo.virtual_mtext_entity()
    tag = ref.add_attrib("TAG", "T-01", (10, 5))
    tag.new_extension_dict()
    doc.saveas(os.path.join(out, "attrib_mtext.dxf"))
    # The embedded MTEXT's own string is what a reader must show for the attribute.
    path = os.path.join(out, "attrib_mtext.dxf")
    with open(path, "rb") as f:
        data = f.read()
    marker = b"101\nEmbedded Object\n"
    at = data.index(marker)
    code1 = data.index(b"  1\n", at)
    end = data.index(b"\n", code1 + 4)
    data = data[:code1 + 4] + "複数行の属性".encode("utf-8") + data[end:]
    with open(path, "wb") as f:
        f.write(data)
    manifest["attrib_mtext.dxf"] = entry(0, 1, 2, strings={memo.dxf.handle: "複数行の属性",
                                                          tag.dxf.handle: "T-01"})


def write_alignments(out, manifest):
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    alignments = {}
    for valign in range(4):
        for halign in range(6 if valign == 0 else 3):
            text = msp.add_text(f"H{halign}V{valign}", dxfattribs={"insert": (halign * 10, valign * 10)})
            text.dxf.halign, text.dxf.valign = halign, valign
            text.dxf.align_point = (halign * 10 + 5, valign * 10 + 1)
            alignments[text.dxf.handle] = ALIGNMENT[valign] + halign
    doc.saveas(os.path.join(out, "text_alignments.dxf"))
    manifest["text_alignments.dxf"] = entry(len(alignments), alignments=alignments)


def write_mixed_cp1252(out, manifest):
    """Raw cp1252 bytes and \\U+ escapes in one value."""
    doc = ezdxf.new("R2000")
    text = doc.modelspace().add_text("café 配電 ±", dxfattribs={"insert": (0, 0)})
    doc.saveas(os.path.join(out, "mixed_cp1252.dxf"))
    manifest["mixed_cp1252.dxf"] = entry(1, strings={text.dxf.handle: "café 配電 ±"})


def write_duplicate_handles(out, manifest):
    """Code page dos850, a handle used twice, and $HANDSEED below the largest handle."""
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    texts = [msp.add_text(f"T{i}", dxfattribs={"insert": (0, i * 5)}) for i in range(3)]
    path = os.path.join(out, "duplicate_handles.dxf")
    doc.saveas(path)
    with open(path, "rb") as f:
        data = f.read()
    data = replace_once(data, b"$DWGCODEPAGE\n  3\nANSI_1252\n", b"$DWGCODEPAGE\n  3\ndos850\n")
    data = replace_once(data, b"  1\nT0\n", "  1\nTé\n".encode("cp850"))
    twice = texts[1].dxf.handle.encode()
    data = replace_once(data, b"  5\n" + texts[2].dxf.handle.encode() + b"\n", b"  5\n" + twice + b"\n")
    seed = data.index(b"$HANDSEED\n  5\n") + len(b"$HANDSEED\n  5\n")
    data = data[:seed] + b"10" + data[data.index(b"\n", seed):]
    with open(path, "wb") as f:
        f.write(data)
    manifest["duplicate_handles.dxf"] = entry(3, strings={texts[0].dxf.handle: "Té"},
                                              warning="duplicate handle")


def write_entities_only(out, manifest):
    """Only an ENTITIES section, no HEADER and no EOF; numbers padded with blanks."""
    lines = ["  0", "SECTION", "  2", "ENTITIES"]
    for i, text in enumerate(("Plant Engineers Ltd", "line two", "line three")):
        lines += ["  0", "TEXT", "  8", "0", " 62", " 7 ", " 10", " 4 ", " 20", f" {1000 - i * 12.5} ",
                  " 30", " 0 ", " 40", "10", "  1", text, "  7", "STANDARD"]
    lines += ["  0", "ENDSEC"]
    with open(os.path.join(out, "entities_only.dxf"), "wb") as f:
        f.write(("\n".join(lines) + "\n").encode("ascii"))
    manifest["entities_only.dxf"] = entry(3, roundtrip="gains_eof")


def write_trash_beyond_eof(out, manifest):
    doc = ezdxf.new("R12")
    doc.modelspace().add_text("before the end")
    path = os.path.join(out, "trash_beyond_eof.dxf")
    doc.saveas(path)
    with open(path, "ab") as f:
        f.write(b"ignore\ninvalid\ndata\nbeyond\nEOF\n")
    manifest["trash_beyond_eof.dxf"] = entry(1)


def write_empty_handles(out, manifest):
    """Entities whose handle value is empty: they get handles in memory."""
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    for i in range(3):
        msp.add_text(f"E{i}", dxfattribs={"insert": (0, i)})
    msp.add_line((0, 0), (5, 5))
    path = os.path.join(out, "empty_handles.dxf")
    doc.saveas(path)
    with open(path, "rb") as f:
        data = f.read()
    start = data.index(b"ENTITIES\n")
    end = data.index(b"ENDSEC\n", start)
    lines = data[start:end].split(b"\n")
    for i in range(len(lines) - 1):
        if lines[i] == b"  5":
            lines[i + 1] = b""
    data = data[:start] + b"\n".join(lines) + data[end:]
    with open(path, "wb") as f:
        f.write(data)
    manifest["empty_handles.dxf"] = entry(3)


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    manifest = {}
    write_base(out, manifest)
    write_r12_raw(out, manifest)
    write_binary(out)
    write_attrib_mtext(out, manifest)
    write_alignments(out, manifest)
    write_mixed_cp1252(out, manifest)
    write_duplicate_handles(out, manifest)
    write_entities_only(out, manifest)
    write_trash_beyond_eof(out, manifest)
    write_empty_handles(out, manifest)
    with open(os.path.join(out, "corpus.json"), "w", encoding="utf-8") as f:
        json.dump(manifest, f, ensure_ascii=False, indent=1)


if __name__ == "__main__":
    main()
