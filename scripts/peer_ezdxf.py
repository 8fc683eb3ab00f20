"""The peer side of the export/apply timing table (scripts/peer_table.sh), done with ezdxf.

    peer_ezdxf.py roundtrip IN.dxf OUT.dxf   reads the drawing and writes it again
    peer_ezdxf.py export IN.dxf              prints handle, kind, tag and string of every TEXT and
                                             attribute of the model space, tab-separated
    peer_ezdxf.py apply IN.dxf TABLE OUT.dxf sets the strings of the table's handles, writes OUT
"""
import sys

import ezdxf


def export(path):
    doc = ezdxf.readfile(path)
    out = sys.stdout
    out.write("handle\tkind\ttag\ttext\n")
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "TEXT":
            out.write(f"{entity.dxf.handle}\tTEXT\t\t{entity.dxf.text}\n")
        elif kind == "INSERT":
            for attrib in entity.attribs:
                out.write(f"{attrib.dxf.handle}\tATTRIB\t{attrib.dxf.tag}\t{attrib.dxf.text}\n")


def apply(path, table, output):
    doc = ezdxf.readfile(path)
    with open(table, encoding="utf-8-sig") as rows:
        header = next(rows).rstrip("\n").split("\t")
        handle_at, text_at = header.index("handle"), header.index("text")
        for row in rows:
            fields = row.rstrip("\n").split("\t")
            entity = doc.entitydb.get(fields[handle_at])
            if entity is not None and entity.dxf.text != fields[text_at]:
                entity.dxf.text = fields[text_at]
    doc.saveas(output)


def main(argv):
    if argv[1] == "roundtrip":
        ezdxf.readfile(argv[2]).saveas(argv[3])
    elif argv[1] == "export":
        export(argv[2])
    else:
        apply(argv[2], argv[3], argv[4])


if __name__ == "__main__":
    main(sys.argv)
