#!/bin/bash
# Times kalvex-dxf itself on a generated set of drawings: attout of the set, then attin of the
# table with one column changed, each under /usr/bin/time -v (wall, CPU, peak memory).
# Usage: bench/measure_sheets.sh BUILD_DIR [COUNT]   (a Release build holding kalvex-dxf and
# bench/bench_dxftool_sheets; COUNT drawings of 2 MB each, 200 when not given)
set -euo pipefail
build=$(realpath "$1")
count=${2:-200}
dir=$(mktemp -d "${TMPDIR:-/tmp}/kalvex_sheets.XXXXXX")
trap 'rm -rf "$dir"' EXIT

"$build/bench/bench_dxftool_sheets" --generate "$dir/set" "$count" > "$dir/files"
mapfile -t files < "$dir/files"

measure() { # NAME COMMAND...
    echo "== $1 ($count drawings, load: $(cut -d' ' -f1-3 /proc/loadavg))"
    shift
    /usr/bin/time -v "$@" 2> "$dir/time" > "$dir/out"
    grep -E "Elapsed|User time|System time|Maximum resident" "$dir/time" | sed 's/^\s*/  /'
}

measure attout "$build/kalvex-dxf" attout "${files[@]}"
cp "$dir/out" "$dir/table.tsv"
# The WIRE column of every terminal changed.
awk -F'\t' -v OFS='\t' 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i == "WIRE") w = i; print; next }
                        { if ($w != "<>") $w = $w "-B"; print }' "$dir/table.tsv" > "$dir/wires.tsv"
measure "attin, one column" "$build/kalvex-dxf" attin "$dir/wires.tsv"
tail -1 "$dir/out"
