#!/usr/bin/env bash
# The export/apply table beside ezdxf: `kalvex-dxf roundtrip`, `export` and `apply` (half the
# TEXTs renamed) of each build tree given, on drawings of N TEXTs and N / 5 references of three
# attributes (scripts/timing_drawings.py mixed), beside the same work done with ezdxf
# (scripts/peer_ezdxf.py). CPU time (user + sys) beside wall time and peak memory, medians of
# RUNS runs (3 by default) for Kalvex, one run for ezdxf.
#
#   bash scripts/peer_table.sh BUILD_DIR [BUILD_DIR ...]
#
# SIZES="100000 500000" picks the sizes. ezdxf takes minutes a drawing: PEER_FIGURES=FILE keeps
# its figures ("size operation cpu wall rss_kb" lines) and a later run reuses them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [BUILD_DIR ...]" >&2; exit 2; }
builds=()
for dir in "$@"; do builds+=("$(cd "$dir" && pwd)"); done
sizes="${SIZES:-100000 500000}"
runs="${RUNS:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
peer="${PEER_FIGURES:-$work/peer.txt}"
touch "$peer"

# Runs one program; prints "cpu wall rss_kb". A failure stops the whole table, not only the
# command substitution it runs in.
measure() {
    /usr/bin/time -f "%U %S %e %M" -o "$work/time.txt" "$@" >"$work/out.txt" 2>"$work/err.txt" || {
        echo "failed: $*" >&2
        head -20 "$work/err.txt" >&2
        kill -TERM $$
    }
    awk '{ printf "%.2f %.2f %d\n", $1 + $2, $3, $4 }' "$work/time.txt"
}

# The median run of `runs` by CPU time.
median() {
    for _ in $(seq "$runs"); do measure "$@"; done | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2)'
}

operation() { # BUILD_OR_PEER OPERATION SIZE
    local drawing="$work/m$3.dxf"
    case "$1:$2" in
    peer:roundtrip) measure /usr/bin/python3 "$root/scripts/peer_ezdxf.py" roundtrip "$drawing" "$work/out.dxf" ;;
    peer:export) measure /usr/bin/python3 "$root/scripts/peer_ezdxf.py" export "$drawing" ;;
    peer:apply) measure /usr/bin/python3 "$root/scripts/peer_ezdxf.py" apply "$drawing" "$work/a$3.tsv" "$work/out.dxf" ;;
    *:roundtrip) median "$1/kalvex-dxf" roundtrip "$drawing" "$work/out.dxf" ;;
    *:export) median "$1/kalvex-dxf" export "$drawing" ;;
    *:apply) median "$1/kalvex-dxf" apply "$drawing" "$work/a$3.tsv" -o "$work/out.dxf" ;;
    esac
}

peer_figures() { # OPERATION SIZE
    local known
    known="$(awk -v s="$2" -v o="$1" '$1 == s && $2 == o { print $3, $4, $5 }' "$peer")"
    if [ -z "$known" ]; then
        known="$(operation peer "$1" "$2")"
        echo "$2 $1 $known" >>"$peer"
    fi
    echo "$known"
}

line="| size | operation |"
rule="|---|---|"
for build in "${builds[@]}"; do
    line+=" $(basename "$(dirname "$build")")/$(basename "$build") CPU s | wall s | MB | ratio |"
    rule+="---:|---:|---:|---:|"
done
echo "$line ezdxf CPU s | wall s | MB |"
echo "$rule---:|---:|---:|"
for size in $sizes; do
    /usr/bin/python3 "$root/scripts/timing_drawings.py" mixed "$size" "$work/m$size.dxf"
    # The table to apply: every other TEXT renamed.
    "${builds[0]}/kalvex-dxf" export "$work/m$size.dxf" | awk -F'\t' 'BEGIN { OFS = "\t" }
        NR > 1 && $2 == "TEXT" && NR % 2 == 0 { sub(/^TB-/, "XB-", $9) } { print }' >"$work/a$size.tsv"
    for op in roundtrip export apply; do
        read -r pcpu pwall prss <<<"$(peer_figures "$op" "$size")"
        line="| $size | $op |"
        for build in "${builds[@]}"; do
            read -r cpu wall rss <<<"$(operation "$build" "$op" "$size")"
            line+=" $cpu | $wall | $((rss / 1024)) | $(awk -v p="$pcpu" -v c="$cpu" 'BEGIN { printf "%.1f×", p / c }') |"
        done
        echo "$line $pcpu | $pwall | $((prss / 1024)) |"
    done
done
