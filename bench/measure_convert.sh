#!/bin/bash
# Times `kalvex-dxf convert kana-full` on a generated set of drawings whose TEXTs hold half-width
# katakana: the dry run (read and convert every drawing, print the changes), then the conversion
# itself (read, convert, write every drawing through a temporary file, keep each .bak), each under
# /usr/bin/time -v (wall, CPU, peak memory).
# Usage: bench/measure_convert.sh BUILD_DIR [COUNT]   (a Release build holding kalvex-dxf;
# COUNT drawings of 2 MB each, 200 when not given). The drawings are written by
# BUILD_DIR/bench/bench_dxftool_sheets, or by the program $GENERATOR names (any build of it).
set -euo pipefail
build=$(realpath "$1")
count=${2:-200}
dir=$(mktemp -d "${TMPDIR:-/tmp}/kalvex_convert.XXXXXX")
trap 'rm -rf "$dir"' EXIT

generator=${GENERATOR:-$build/bench/bench_dxftool_sheets}
"$generator" --generate "$dir/set" "$count" --kana > "$dir/files"
mapfile -t files < "$dir/files"
echo "$count drawings, $(du -sh "$dir/set" | cut -f1) in all"

measure() { # NAME COMMAND...
    echo "== $1 (load: $(cut -d' ' -f1-3 /proc/loadavg))"
    shift
    /usr/bin/time -v "$@" 2> "$dir/time" > "$dir/out"
    grep -E "Elapsed|User time|System time|Maximum resident" "$dir/time" | sed 's/^\s*/  /'
}

measure "convert kana-full --dry-run" "$build/kalvex-dxf" convert kana-full --dry-run "${files[@]}"
echo "  $(($(wc -l < "$dir/out") - 1)) changes listed"
measure "convert kana-full" "$build/kalvex-dxf" convert kana-full "${files[@]}"
tail -1 "$dir/out"
