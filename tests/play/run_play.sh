#!/usr/bin/env bash
# Plays one script on a fresh copy of the sample drawing, headless. When SCRIPT.tsv exists
# beside the script, every row of it must appear in the export of the drawing the script
# saved as out.dxf. When SCRIPT.py exists, it runs in the work folder before the script
# ("prepare": it may write drawings for the script to open) and after it ("check": it reads
# out.dxf back with ezdxf).
set -euo pipefail
kalvex=$1
dxf=$2
sample=$3
script=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$sample" "$work/plant.dxf"
cd "$work"
peer="${script%.play}.py"
if [ -f "$peer" ]; then
    /usr/bin/python3 "$peer" prepare
fi
export HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen KALVEX_CONFIG_DIR="$work"
"$kalvex" --drawing "$work/plant.dxf" --play "$script" 2>"$work/stderr.txt" || {
    status=$?
    grep -v -e propagateSizeHints -e 'does not support' "$work/stderr.txt" >&2 || true
    exit $status
}
expected="${script%.play}.tsv"
if [ -f "$expected" ] || [ -f "$peer" ]; then
    if [ ! -f out.dxf ]; then
        echo "$script: the script saved no out.dxf" >&2
        exit 1
    fi
fi
if [ -f "$expected" ]; then
    "$dxf" export out.dxf >export.tsv
    missing=$(grep -vxFf export.tsv "$expected" || true)
    if [ -n "$missing" ]; then
        echo "$script: rows missing from the export of out.dxf:" >&2
        echo "$missing" >&2
        exit 1
    fi
fi
if [ -f "$peer" ]; then
    /usr/bin/python3 "$peer" check
fi
