#!/usr/bin/python3
"""Reads a drawing with ezdxf and prints, as JSON, what ezdxf sees in it:

  rows      the TEXTs and ATTRIBs of model space in drawing order, with the columns of the
            export table (handle, kind, block, tag, layer, locked, x, y, text)
  entities  every entity and table entry by handle: its type and DXF attributes other than the
            handle and the string of a TEXT or ATTRIB, and its extended data
  header    every header variable as the file holds it (ezdxf itself renews some of them, such
            as $TDCREATE, while loading)
  audit     what ezdxf's audit reports (errors and fixes)
  version, codepage

Usage: read_drawing.py FILE
"""
import json
import re
import sys

import ezdxf

ESCAPE = re.compile(r"\\U\+([0-9A-Fa-f]{4})(?:\\U\+([0-9A-Fa-f]{4}))?")


def decode_escapes(text):
    """ezdxf leaves the \\U+XXXX escapes of older drawings in the string; resolve them."""

    def replace(match):
        high = int(match.group(1), 16)
        if match.group(2):
            low = int(match.group(2), 16)
            if 0xD800 <= high < 0xDC00 and 0xDC00 <= low < 0xE000:
                return chr(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00))
            return chr(high) + chr(low)
        return chr(high)

    return ESCAPE.sub(replace, text)


def placing_point(entity, vertical):
    aligned = entity.dxf.get("halign", 0) != 0 or entity.dxf.get(vertical, 0) != 0
    point = entity.dxf.align_point if aligned and entity.dxf.hasattr("align_point") else entity.dxf.insert
    return point


def text_of(entity):
    """A multi-line attribute keeps its text in the embedded MTEXT, its code 1 stays empty."""
    if entity.dxftype() == "ATTRIB" and entity.has_embedded_mtext_entity:
        return entity.virtual_mtext_entity().text
    return entity.dxf.get("text", "")


def row(doc, entity, kind, block, tag, vertical):
    layer = entity.dxf.get("layer", "0")
    table_entry = doc.layers.get(layer) if doc.layers.has_entry(layer) else None
    point = placing_point(entity, vertical)
    return {
        "handle": entity.dxf.handle or "",
        "kind": kind,
        "block": block,
        "tag": tag,
        "layer": layer,
        "locked": "1" if table_entry is not None and table_entry.is_locked() else "0",
        "x": "%.3f" % point[0],
        "y": "%.3f" % point[1],
        "text": decode_escapes(text_of(entity)),
    }


def rows_of(doc):
    rows = []
    for entity in doc.modelspace():
        if entity.dxftype() == "TEXT":
            rows.append(row(doc, entity, "TEXT", "", "", "valign"))
        elif entity.dxftype() == "INSERT":
            for attrib in entity.attribs:
                rows.append(row(doc, attrib, "ATTRIB", entity.dxf.name, attrib.dxf.tag, "valign"))
    return rows


def fingerprint(entity):
    attribs = entity.dxf.all_existing_dxf_attribs()
    attribs.pop("handle", None)
    if entity.dxftype() in ("TEXT", "ATTRIB"):
        attribs.pop("text", None)
    described = {key: repr(value) for key, value in sorted(attribs.items())}
    described["<type>"] = entity.dxftype()
    if entity.xdata:
        described["<xdata>"] = repr(sorted((app, list(tags)) for app, tags in entity.xdata.data.items()))
    return described


def handles_in_file(path):
    """The handles (group codes 5 and 105) of the file's objects; the header is left out, as its
    $HANDSEED is written with group code 5 too."""
    with open(path, "rb") as file:
        lines = file.read().split(b"\n")
    handles = set()
    section = b""
    for index in range(0, len(lines) - 1, 2):
        code, value = lines[index].strip(), lines[index + 1].strip()
        if code == b"2" and lines[index - 1].strip() == b"SECTION":
            section = value
        elif code in (b"5", b"105") and section != b"HEADER":
            handles.add(value.decode("ascii", "replace").upper())
    return handles


def header_in_file(path):
    """The HEADER section's variables, each with the values that follow it, as raw text."""
    with open(path, "rb") as file:
        lines = file.read().split(b"\n")
    header = {}
    name = None
    for index in range(0, len(lines) - 1, 2):
        code, value = lines[index].strip(), lines[index + 1].rstrip(b"\r")
        if code == b"0" and value.strip() == b"ENDSEC" and name:
            break
        if code == b"9":
            name = value.strip().decode("ascii", "replace")
            header[name] = ""
        elif name:
            header[name] += "%s=%s;" % (code.decode("ascii", "replace"), value.decode("utf-8", "replace"))
    return header


def entities_of(doc, path):
    """Entities of the file; ezdxf adds some of its own while loading (a SEQEND for every
    INSERT, with handles from $HANDSEED on), and those are left out."""
    in_file = handles_in_file(path)
    entities = {}
    for handle, entity in doc.entitydb.items():
        if entity.is_alive and handle.upper() in in_file:
            entities[handle] = fingerprint(entity)
    return entities


def audit_of(doc):
    auditor = doc.audit()
    return ["error %d: %s" % (e.code, e.message) for e in auditor.errors] + [
        "fix %d: %s" % (e.code, e.message) for e in auditor.fixes
    ]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    doc = ezdxf.readfile(sys.argv[1])
    report = {
        "version": doc.dxfversion,
        "codepage": doc.header.get("$DWGCODEPAGE", ""),
        "rows": rows_of(doc),
        "entities": entities_of(doc, sys.argv[1]),
        "header": header_in_file(sys.argv[1]),
    }
    report["audit"] = audit_of(doc)
    json.dump(report, sys.stdout, ensure_ascii=False, indent=1, sort_keys=True)
    print()


if __name__ == "__main__":
    main()
