#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# MinGW-w64 cross-builds the Windows side and Wine runs its test program.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev libxcb1-dev xvfb xauth openbox x11-utils xdotool wmctrl qt6-translations-l10n
          fonts-noto-cjk python3-ezdxf python3-pil python3-matplotlib
          g++-mingw-w64-x86-64 mingw-w64-tools wine wine64)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
# Other builds on the machine may be installing at the same moment: wait for their dpkg lock,
# and retry the update, whose lock on the package lists apt does not wait for.
wait_lock=(-o DPkg::Lock::Timeout=600)
for attempt in 1 2 3 4 5 6 7 8 9 10; do
    $sudo apt-get "${wait_lock[@]}" update -qq && break
    [ "$attempt" -eq 10 ] && exit 1
    sleep 30
done
DEBIAN_FRONTEND=noninteractive $sudo apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}"
