#!/usr/bin/env bash
# Runs the Windows test program under Wine in a virtual display:
#   run_wine.sh PROGRAM GTEST_FILTER [expect-none]
# Some test must match the filter; with "expect-none", none may.
# Exit 77 tells ctest the test was skipped: only where Wine cannot start here. The Wine prefix
# lives beside the program; it is made on the first run, with Wine's own virtual desktop, in
# which windows appear and go at once and take the foreground without a window manager.
set -uo pipefail
program=$1
filter=$2
expect=${3:-some}

skip() {
    echo "SKIPPED: Wine cannot start here: $*"
    exit 77
}

loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64 || true)
[ -n "$loader" ] && [ -x "$loader" ] || skip "no Wine loader (Debian's wine64 package puts it at /usr/lib/wine/wine64)"
server=$(dirname "$loader")/wineserver64
[ -x "$server" ] || server=$(dirname "$loader")/wineserver
command -v xvfb-run >/dev/null || skip "no xvfb-run (Debian's xvfb package) for a display"
if [ ! -f "$program" ]; then
    echo "FAILED: the Windows test program $program was not built"
    exit 1
fi

export WINEPREFIX="$(cd "$(dirname "$program")" && pwd)/wine-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=(xvfb-run -a -s "-screen 0 1280x1024x24")

if [ ! -f "$WINEPREFIX/.kalvex-ready" ]; then
    log=$(mktemp)
    if ! "${display[@]}" "$loader" wineboot --init >"$log" 2>&1; then
        skip "wineboot failed: $(tail -3 "$log")"
    fi
    "$loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$log" 2>&1
    "$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >>"$log" 2>&1
    "$server" -w
    touch "$WINEPREFIX/.kalvex-ready"
    rm -f "$log"
fi

output=$(mktemp)
"${display[@]}" "$loader" "$program" --gtest_filter="$filter" 2>&1 | grep -v '^X connection to' | tee "$output"
status=${PIPESTATUS[0]}
"$server" -k 2>/dev/null
ran_some=no
grep -q '^\[  PASSED  \] [1-9]' "$output" && ran_some=yes
if [ "$status" -eq 0 ] && [ "$expect" = some ] && [ "$ran_some" = no ]; then
    echo "FAILED: no test matched $filter"
    status=1
elif [ "$status" -eq 0 ] && [ "$expect" = expect-none ] && [ "$ran_some" = yes ]; then
    echo "FAILED: these tests belong to no group that ctest runs"
    status=1
fi
rm -f "$output"
exit "$status"
