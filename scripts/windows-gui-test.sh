#!/usr/bin/env bash
# Plays one end-to-end run of the Windows program under Wine in a virtual display: the fake CAD
# (fake_nanocad.exe, in a process of its own, registered as the CAD's local server) serves a
# drawing; kalvex.exe, as scripts/windows-qt.sh built it, finds the CAD, fetches the TEXTs
# picked there, renumbers them and writes them back. The script then checks, through the fake's
# control channel, that the CAD's drawing holds the new strings, that the tool took the
# foreground back after the pick and that it is always on top. A picture of both windows is
# left in build-windows/gui-test.png.
#   bash scripts/windows-gui-test.sh        (after bash scripts/windows-qt.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="$root/build-windows/kalvex"
tests="$root/build-test"

if [ "${1:-}" != --inside ]; then
    [ -f "$dist/kalvex.exe" ] || { echo "FAILED: no $dist/kalvex.exe: run scripts/windows-qt.sh first"; exit 1; }
    # The fake CAD is built with the Windows side of the test tree.
    [ -f "$tests/CMakeCache.txt" ] ||
        cmake -S "$root" -B "$tests" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKALVEX_WERROR=ON >/dev/null
    cmake --build "$tests" --target kalvex_windows >/dev/null
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside
fi

fake="$tests/windows/tests/windows/fake_nanocad.exe"
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64)
server=$(dirname "$loader")/wineserver64
[ -x "$server" ] || server=$(dirname "$loader")/wineserver
export WINEPREFIX="$root/build-windows/wine-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trap '"$server" -k 2>/dev/null || true; rm -rf "$work"' EXIT

if [ ! -f "$WINEPREFIX/.kalvex-ready" ]; then
    "$loader" wineboot --init >/dev/null 2>&1
    # Windows appear in one virtual desktop, which the picture shows whole.
    "$loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
    # Japanese in the tool's windows: a CJK font where the system looks for fonts.
    cp /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc "$WINEPREFIX/drive_c/windows/Fonts/"
    "$server" -w
    touch "$WINEPREFIX/.kalvex-ready"
fi

passed=0
failed=0
step() { # step NAME COMMAND...: runs a check, counts and prints it
    local name=$1
    shift
    if "$@"; then
        echo "ok    $name"
        passed=$((passed + 1))
    else
        echo "FAIL  $name"
        failed=$((failed + 1))
    fi
}
windows_path() { "$loader" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
ctl() { "$loader" "$fake" --ctl "$@" | tr -d '\r'; }
logged() { ctl log | grep -qx "$1"$'\t'"$2"; }

cp "$root/tests/windows/nanocad/example-drawing.txt" "$work/drawing.txt"
cp "$root/tests/windows/gui/renumber_picked_pipes.play" "$work/run.play"
"$loader" "$fake" --register
"$loader" "$fake" --drawing "$(windows_path "$work/drawing.txt")" &
for _ in $(seq 1 50); do
    ctl window >/dev/null 2>&1 && break
    sleep 0.2
done
step "the fake CAD serves its drawing" bash -c "[ \"\$(\"$loader\" \"$fake\" --ctl dump | tr -d '\r' | grep -c 配管)\" -eq 3 ]"
# The three pipe labels are the first entities of the drawing; the user picks them in the CAD.
ctl pick 2A0 2A1 2A2 >/dev/null
ctl tool-title "Kalvex 2.3C [ nanoCAD 5 ]" >/dev/null

# Pictures of the screen while the tool runs; the last one is kept.
(while sleep 0.5; do /usr/bin/python3 -c "
import os, sys
from PIL import ImageGrab
ImageGrab.grab(xdisplay=os.environ['DISPLAY']).save(sys.argv[1])" "$work/shot.png" 2>/dev/null &&
    cp "$work/shot.png" "$root/build-windows/gui-test.png"; done) &
shooter=$!

started=$(date +%s)
set +e
(cd "$dist" && "$loader" ./kalvex.exe --play "$(windows_path "$work/run.play")") \
    >"$work/play.log" 2>&1
status=$?
set -e
kill "$shooter" 2>/dev/null || true
sed 's/^/  kalvex: /' "$work/play.log" | grep -v 'fixme\|^  kalvex: $' || true
step "kalvex.exe played the run through (exit $status, $(($(date +%s) - started)) s)" [ "$status" -eq 0 ]
step "the tool minimised itself while the user picked" logged toolMinimisedWhilePicking 1
step "the CAD was in front while the user picked" logged cadInFrontWhilePicking 1
step "the tool window is always on top (WS_EX_TOPMOST)" logged toolTopmostAtLastWrite 1
ctl log | sed -n 's/^foregroundAtLastConnect\t/  the foreground window when the update connected: /p'
# After the pick the tool takes the foreground back: the user edits there, and the update finds
# it in front when it connects (before it turns to the CAD to write).
step "the tool had the foreground back after the pick" logged toolInFrontAtLastConnect 1
ctl dump >"$work/dump.txt"
for n in 1 2 3; do
    step "the CAD's drawing holds 配管－1$n" grep -q $'\ttext\t0\t配管－1'"$n"'$' "$work/dump.txt"
done
step "the frame's TEXT on its locked layer is unchanged" grep -q $'\ttext\t枠\t図枠$' "$work/dump.txt"
ctl quit >/dev/null 2>&1 || true
"$loader" "$fake" --unregister
echo "$passed passed, $failed failed; picture: $root/build-windows/gui-test.png"
[ "$failed" -eq 0 ]
