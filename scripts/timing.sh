#!/usr/bin/env bash
# The timing table of the drawing window and the tool, end to end through the real windows:
# every row runs `kalvex` of each build tree given (Release trees, e.g. an old one and a new
# one) on generated drawings, headless, and shows CPU time (user + sys) beside wall time.
#
#   bash scripts/timing.sh BUILD_DIR [BUILD_DIR ...]
#
# TIMING_ROWS="update open refs search" picks rows (all by default). An update is timed as the
# difference of two plays on the same drawing, one that fetches and edits the lines and one
# that also writes them back; an open is the program drawing its windows into a screenshot.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [BUILD_DIR ...]" >&2; exit 2; }
builds=()
for dir in "$@"; do builds+=("$(cd "$dir" && pwd)"); done
rows="${TIMING_ROWS:-update open refs search}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
export HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen KALVEX_CONFIG_DIR="$work"

generate() { /usr/bin/python3 "$root/scripts/timing_drawings.py" "$@"; }

# Runs one program; prints "cpu wall rss_kb", or "- >LIMIT -" for a run stopped after the limit
# (TIMING_LIMIT seconds of wall time, 900 by default). A run that fails stops the table.
limit="${TIMING_LIMIT:-900}"
measure() {
    local status=0
    timeout "$limit" /usr/bin/time -f "%U %S %e %M" -o "$work/time.txt" "$@" >"$work/out.txt" \
        2>"$work/err.txt" || status=$?
    if [ "$status" -eq 124 ]; then
        echo "- >$limit -"
        return
    fi
    if [ "$status" -ne 0 ]; then
        echo "failed: $*" >&2
        head -c 2000 "$work/out.txt" >&2
        grep -v -e propagateSizeHints -e 'does not support' "$work/err.txt" | head -20 >&2
        exit 1
    fi
    awk '{ printf "%.2f %.2f %.0f\n", $1 + $2, $3, $4 }' "$work/time.txt"
}

play() { measure "$1/kalvex" --drawing "$2" --play "$3"; }
open_drawing() { measure "$1/kalvex" --drawing "$2" --screenshot "$work/shot.png"; }

# Prints "cpu wall" of the second run less the first.
difference() {
    echo "$1 $2" | awk '$4 == "-" { printf "- %s", $5; next } { printf "%.2f %.2f", $4 - $1, $5 - $2 }'
}

header() {
    local line="| $1 |" rule="|---|"
    for build in "${builds[@]}"; do
        line+=" $(basename "$(dirname "$build")")/$(basename "$build") CPU s | wall s |"
        rule+="---:|---:|"
    done
    echo "$line"
    echo "$rule"
}

drawing() { # drawing KIND COUNT [MODE] -> path, generated once
    local file="$work/$1-$2${3:+-$3}.dxf"
    [ -f "$file" ] || generate "$1" "$2" "$file" ${3:+"$3"}
    echo "$file"
}

# One row timed as the second play less the first, both on the same drawing.
played_row() { # played_row LABEL DRAWING BASE_SCRIPT FULL_SCRIPT
    local line="| $1 |"
    for build in "${builds[@]}"; do
        local base full
        base="$(play "$build" "$2" "$3")"
        full="$(play "$build" "$2" "$4")"
        line+=" $(difference "$base" "$full" | awk '{ printf "%s | %s", $1, $2 }') |"
    done
    echo "$line"
}

update_row() { # update_row TEXTS LINES
    generate update "$2" "$work/edit.play" fetch-only
    generate update "$2" "$work/write.play"
    played_row "update $2 lines (Ctrl+Enter) on a $1-TEXT drawing" "$(drawing texts "$1")" \
        "$work/edit.play" "$work/write.play"
}

open_texts_row() { # open_texts_row TEXTS
    local dxf bytes
    dxf="$(drawing texts "$1")"
    bytes=$(stat -c %s "$dxf")
    local line="| open $1 TEXTs (load, scene, first paint) |"
    local memory="| most memory in use (RSS) and its ratio to the file of $((bytes / 1000000)) MB |"
    for build in "${builds[@]}"; do
        local cpu wall rss
        read -r cpu wall rss < <(open_drawing "$build" "$dxf")
        line+=" $cpu | $wall |"
        memory+=" $(awk -v r="$rss" -v b="$bytes" 'BEGIN { printf "%.0f MB | %.2f x", r * 1024 / 1e6, r * 1024 / b }') |"
    done
    echo "$line"
    echo "$memory"
}

search_row() { # search_row TEXTS
    printf 'tab 2\n' >"$work/idle.play"
    printf 'tab 2\nsettext Edit3 "TB"\nclick SpeedButton14\nexpect-cell StringGrid2 0 0 "TB-000000 端子台"\n' \
        >"$work/search.play"
    played_row "search all $1 TEXTs" "$(drawing texts "$1")" "$work/idle.play" "$work/search.play"
}

refs_rows() { # refs_rows [MODE]: open of 2 000 to 32 000 references, per reference
    local empty label="references of a 30-entity block with 3 attributes${1:+, $1}"
    empty="$(drawing refs 0 "$@")"
    for count in 2000 8000 32000; do
        local dxf line="| open $count $label (µs per reference) |"
        dxf="$(drawing refs "$count" "$@")"
        for build in "${builds[@]}"; do
            local base cpu wall
            base="$(open_drawing "$build" "$empty")"
            read -r cpu wall _ < <(open_drawing "$build" "$dxf")
            line+=" $cpu ($(echo "$base $cpu" |
                awk -v n="$count" '$4 == "-" { print "-"; next } { printf "%.0f", ($4 - $1) / n * 1e6 }')) | $wall |"
        done
        echo "$line"
    done
}

header operation
for row in $rows; do
    case "$row" in
    update)
        update_row 10000 10000
        update_row 100000 100000
        for texts in 10000 100000 500000; do update_row "$texts" 1000; done
        ;;
    open) open_texts_row 500000 ;;
    search) search_row 500000 ;;
    refs)
        refs_rows
        refs_rows attributes-at-one-spot
        refs_rows one-spot
        ;;
    *) echo "unknown row $row" >&2; exit 2 ;;
    esac
done
