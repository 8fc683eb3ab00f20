#!/usr/bin/env bash
# Builds the Windows program, kalvex.exe, with a Qt cross-built for MinGW-w64 from Debian's own
# qt6-base source package (the version of the Linux build's Qt; Debian ships no Qt for MinGW).
#
# The Qt build (Core, Gui, Widgets and the windows platform plugin, about 1 000 compile steps)
# is kept in a cache folder and reused when present:
#   ${KALVEX_WINDOWS_QT_CACHE:-$HOME/.cache/kalvex/windows-qt}/qt-VERSION-mingw-w64
# kalvex.exe is built in build-windows/ and copied with the DLLs and the platform plugin it needs
# into build-windows/kalvex/, a folder that runs as it is on Windows or under Wine.
#
# The source is fetched through a temporary deb-src entry beside the machine's Debian entries
# and nothing else: the entry is removed again when the fetch ends, however it ends.
# Not part of scripts/test.sh: the first Qt build takes about half an hour on two cores.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
upstream="${version%%+*}"
cache="${KALVEX_WINDOWS_QT_CACHE:-$HOME/.cache/kalvex/windows-qt}"
prefix="$cache/qt-$upstream-mingw-w64"
jobs="${KALVEX_JOBS:-$(nproc)}"

fetch_source() {
    local sources=/etc/apt/sources.list.d/kalvex-deb-src.sources
    trap '$sudo rm -f '"$sources"'; $sudo apt-get update -qq || true' RETURN
    sed -n '/^Types:/,/^$/p' /etc/apt/sources.list.d/debian.sources \
        | sed 's/^Types: deb$/Types: deb-src/' | $sudo tee "$sources" >/dev/null
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    (cd "$cache/source" && apt-get source -qq "qt6-base=$version")
}

build_qt() {
    local source
    mkdir -p "$cache/source"
    source="$(find "$cache/source" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
    if [ -z "$source" ]; then
        fetch_source
        source="$(find "$cache/source" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
    fi
    # The +dfsg source lacks wintab.h, so tablet events stay off; the windows platform plugin
    # of this version does not compile without OpenGL, so OpenGL stays on (loaded at run time).
    cmake -S "$source" -B "$cache/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW-w64.cmake" \
        -DKALVEX_MINGW_SHARED_RUNTIME=ON \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_opengl_dynamic=ON
    cmake --build "$cache/build" -j "$jobs"
    cmake --install "$cache/build"
}

if [ ! -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    started=$(date +%s)
    build_qt
    echo "Windows Qt $upstream built in $(($(date +%s) - started)) s"
fi
echo "Windows Qt: $prefix ($(du -sh "$prefix" | cut -f1))"

build="$root/build-windows"
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/MinGW-w64.cmake" \
    -DKALVEX_MINGW_SHARED_RUNTIME=ON \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DKALVEX_TESTS=OFF -DKALVEX_BENCH=OFF
started=$(date +%s)
cmake --build "$build" -j "$jobs" --target kalvex
echo "kalvex.exe built in $(($(date +%s) - started)) s"

# The folder a user runs: the program, Qt's DLLs, the platform plugin and the compiler's runtime.
dist="$build/kalvex"
mkdir -p "$dist/platforms"
cp "$build/kalvex.exe" "$dist/"
for module in Core Gui Widgets; do
    cp "$prefix/bin/Qt6$module.dll" "$dist/"
done
cp "$prefix/plugins/platforms/qwindows.dll" "$dist/platforms/"
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
cp "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$dist/"
echo "Windows program: $dist ($(du -sh "$dist" | cut -f1))"
