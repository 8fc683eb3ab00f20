"""Writes the drawings and play scripts of the timing table (scripts/timing.sh).

    timing_drawings.py texts N OUT.dxf             N TEXTs in columns, as terminal lists are laid out
    timing_drawings.py refs N OUT.dxf [MODE]       N references of a 30-entity block with three
                                                   attributes, in rows; MODE attributes-at-one-spot
                                                   puts every attribute at the origin, one-spot every
                                                   reference and its attributes
    timing_drawings.py mixed N OUT.dxf             N TEXTs as `texts` writes them, then N / 5 references
                                                   as `refs` writes them (the peer table's drawing)
    timing_drawings.py update LINES OUT.play [fetch-only]
                                                   picks the first LINES TEXTs of a `texts` drawing,
                                                   fetches them, renames every line, writes them back

Every TEXT and attribute carries the pairs an R2018 program writes.
"""
import sys

HEADER = ("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1032\n  9\n$HANDSEED\n  5\nFFFFFFF\n"
          "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  5\n2\n 70\n1\n"
          "  0\nLAYER\n  5\n10\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n"
          "  2\n0\n 70\n0\n 62\n7\n  6\nContinuous\n  0\nENDTAB\n  0\nENDSEC\n")
TEXT_HANDLE_BASE = 0x100
REF_HANDLE_BASE = 0x1000


def text_pairs(kind, handle, x, y, text, extra=""):
    return (f"  0\n{kind}\n  5\n{handle:X}\n330\n1F\n100\nAcDbEntity\n  8\n0\n 62\n{1 + handle % 7}\n"
            f"100\nAcDbText\n 10\n{x:.6f}\n 20\n{y:.6f}\n 30\n0.0\n 40\n2.5\n  1\n{text}\n"
            f" 50\n0.0\n 41\n1.0\n  7\nStandard\n 72\n0\n 11\n{x:.6f}\n 21\n{y:.6f}\n 31\n0.0\n"
            f"210\n0.0\n220\n0.0\n230\n1.0\n{extra}")


def text_position(i):
    return (i // 450) * 40.0, (i % 450) * 5.0


def write_texts(count, out):
    out.write(HEADER + "  0\nSECTION\n  2\nENTITIES\n")
    write_text_entities(count, out)
    out.write("  0\nENDSEC\n  0\nEOF\n")


def write_text_entities(count, out):
    for i in range(count):
        x, y = text_position(i)
        out.write(text_pairs("TEXT", TEXT_HANDLE_BASE + i, x, y, f"TB-{i:06d} 端子台",
                             "100\nAcDbText\n 73\n0\n"))


def block_entities():
    """Thirty entities of a valve symbol: 22 lines, 4 circles, 4 arcs, in a 20 x 10 box."""
    parts = []
    handle = 0x80
    for k in range(22):
        handle += 1
        x0, y0 = (k % 11) * 2.0, 0.0 if k < 11 else 10.0
        parts.append(f"  0\nLINE\n  5\n{handle:X}\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n"
                     f" 10\n{x0}\n 20\n{y0}\n 30\n0.0\n 11\n{x0 + 1.5}\n 21\n{5.0}\n 31\n0.0\n")
    for k in range(4):
        handle += 1
        parts.append(f"  0\nCIRCLE\n  5\n{handle:X}\n100\nAcDbEntity\n  8\n0\n100\nAcDbCircle\n"
                     f" 10\n{4.0 + k * 4}\n 20\n5.0\n 30\n0.0\n 40\n1.5\n")
    for k in range(4):
        handle += 1
        parts.append(f"  0\nARC\n  5\n{handle:X}\n100\nAcDbEntity\n  8\n0\n100\nAcDbCircle\n"
                     f" 10\n{4.0 + k * 4}\n 20\n5.0\n 30\n0.0\n 40\n2.5\n100\nAcDbArc\n"
                     f" 50\n0.0\n 51\n180.0\n")
    for k, tag in enumerate(("NAME", "SPEC", "TYPE")):
        handle += 1
        parts.append(f"  0\nATTDEF\n  5\n{handle:X}\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n"
                     f" 10\n0.0\n 20\n{-3.0 - 3 * k}\n 30\n0.0\n 40\n2.0\n  1\n\n"
                     f"100\nAcDbAttributeDefinition\n  3\n{tag}\n  2\n{tag}\n 70\n0\n")
    return "".join(parts)


def write_refs(count, out, mode, texts=0):
    out.write(HEADER + "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  5\n70\n100\nAcDbEntity\n  8\n0\n"
              "100\nAcDbBlockBegin\n  2\nVALVE\n 70\n2\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\nVALVE\n"
              "  1\n\n")
    out.write(block_entities())
    out.write("  0\nENDBLK\n  5\n71\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockEnd\n  0\nENDSEC\n")
    out.write("  0\nSECTION\n  2\nENTITIES\n")
    write_text_entities(texts, out)
    handle = max(REF_HANDLE_BASE, TEXT_HANDLE_BASE + texts)
    for i in range(count):
        x, y = (0.0, 0.0) if mode == "one-spot" else ((i % 200) * 30.0, (i // 200) * 25.0)
        ax, ay = (0.0, 0.0) if mode == "attributes-at-one-spot" else (x, y)
        out.write(f"  0\nINSERT\n  5\n{handle:X}\n330\n1F\n100\nAcDbEntity\n  8\n0\n"
                  f"100\nAcDbBlockReference\n 66\n1\n  2\nVALVE\n 10\n{x:.6f}\n 20\n{y:.6f}\n"
                  f" 30\n0.0\n")
        owner = handle
        for k, tag in enumerate(("NAME", "SPEC", "TYPE")):
            handle += 1
            out.write(text_pairs("ATTRIB", handle, ax, ay - 3.0 - 3 * k, f"V-{i}-{tag}",
                                 f"100\nAcDbAttribute\n  2\n{tag}\n 70\n0\n"))
        handle += 1
        out.write(f"  0\nSEQEND\n  5\n{handle:X}\n330\n{owner:X}\n100\nAcDbEntity\n  8\n0\n")
        handle += 1
    out.write("  0\nENDSEC\n  0\nEOF\n")


def write_update(lines, out, fetch_only):
    """Picks the first `lines` TEXTs, fetches them, renames every line through the replace
    dialog and, unless fetch_only, writes them back with Ctrl+Return."""
    handles = " ".join(f"{TEXT_HANDLE_BASE + i:X}" for i in range(lines))
    out.write("tab 0\ncheck CheckBox1 on\n")
    out.write(f"pick {handles}\nclick SpeedButton1\n")
    out.write("dialog TOrvikTikanForm Edit1=\"TB-\" Edit2=\"XB-\" Button1\nmenu N7\n")
    if not fetch_only:
        last = TEXT_HANDLE_BASE + lines - 1
        out.write("key SynEdit1 Ctrl+Return\n")
        out.write(f"expect-entity {last:X} text \"XB-{lines - 1:06d} 端子台\"\n")


def main(argv):
    kind = argv[1]
    if kind == "update":
        with open(argv[3], "w", encoding="utf-8") as out:
            write_update(int(argv[2]), out, len(argv) > 4)
        return
    with open(argv[3], "w", encoding="utf-8", newline="\n") as out:
        if kind == "texts":
            write_texts(int(argv[2]), out)
        elif kind == "mixed":
            write_refs(int(argv[2]) // 5, out, "", int(argv[2]))
        else:
            write_refs(int(argv[2]), out, argv[4] if len(argv) > 4 else "")


if __name__ == "__main__":
    main(sys.argv)
