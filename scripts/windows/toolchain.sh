#!/usr/bin/env bash
# Builds, once per machine, what the Windows build of Dravik links against: qtbase (Core, Gui, Widgets,
# Network, Test and the Windows platform plugin) and libqrencode for x86_64-w64-mingw32, from Debian's
# source packages of the host's own versions, into a cache folder outside the repository
# (${DRAVIK_MINGW_PREFIX:-~/.cache/dravik-mingw}). Installs what it needs with apt-get (as root); to
# reach the source packages it adds a deb-src entry for the machine's own Debian package source.
# A second run finds the finished stamps and does nothing.
set -euo pipefail

prefix=${DRAVIK_MINGW_PREFIX:-$HOME/.cache/dravik-mingw}
jobs=${DRAVIK_JOBS:-$(nproc)}
here=$(cd "$(dirname "$0")/../.." && pwd)
toolchain=$here/cmake/mingw-w64-x86_64.cmake
work=$prefix/src
mkdir -p "$work"

say() { echo "[toolchain] $*"; }

if [ -f "$prefix/qt/.done" ] && [ -f "$prefix/qrencode/.done" ]; then
    say "cached in $prefix"
    exit 0
fi

. "$here/scripts/windows/packages.sh"

# The source packages come from the same archive as the binary ones: the deb-src entry mirrors the
# machine's own deb entries.
srcs=/etc/apt/sources.list.d/dravik-deb-src.sources
update=
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    say "adding a deb-src entry ($srcs)"
    found=
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        sed -n '/^Types:/p' "$f" | grep -qw deb || continue
        sed -e 's/^Types:.*/Types: deb-src/' "$f" >> "$srcs"
        echo >> "$srcs"
        found=1
    done
    if [ -z "$found" ] && [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/dravik-deb-src.list
    fi
    update=1
fi
UPDATE=$update install_missing \
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
    cmake ninja-build pkg-config dpkg-dev xz-utils bzip2 \
    qt6-base-dev qt6-base-dev-tools libqrencode-dev

# The original (upstream) tarball of a source package of the host's version; Debian's patches are for
# the Linux build and are not applied.
fetch_orig() {
    local pkg=$1 version
    version=$(dpkg-query -W -f='${source:Upstream-Version}' "$2")
    if ! ls "$work/${pkg}_${version}.orig.tar."* >/dev/null 2>&1; then
        say "downloading the source of $pkg $version" >&2
        (cd "$work" && apt-get source --download-only "$pkg=$(dpkg-query -W -f='${source:Version}' "$2")") >&2
    fi
    ls "$work/${pkg}_${version}.orig.tar."* | head -n 1
}

if [ ! -f "$prefix/qt/.done" ]; then
    tarball=$(fetch_orig qt6-base qt6-base-dev)
    rm -rf "$work/qtbase" "$work/qtbase-build"
    mkdir -p "$work/qtbase"
    say "unpacking $(basename "$tarball")"
    tar -xf "$tarball" -C "$work/qtbase" --strip-components=1
    say "configuring qtbase for x86_64-w64-mingw32"
    # No ICU (GB18030 goes through the system's code page 54936), TLS by Schannel, OpenGL loaded at run
    # time (the platform plugin does not build without it). The "+dfsg" tarball lacks the tablet header
    # of the platform plugin, hence no tablet events.
    cmake -S "$work/qtbase" -B "$work/qtbase-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix/qt" \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DQT_FEATURE_icu=OFF -DQT_FEATURE_openssl=OFF -DQT_FEATURE_schannel=ON \
        -DQT_FEATURE_dbus=OFF -DQT_FEATURE_sql=OFF -DQT_FEATURE_printsupport=OFF \
        -DQT_FEATURE_concurrent=OFF -DQT_FEATURE_xml=OFF \
        -DQT_FEATURE_tabletevent=OFF -DQT_FEATURE_opengl_dynamic=ON \
        -DQT_FEATURE_direct2d=ON -DQT_FEATURE_style_windowsvista=ON \
        -DQT_FEATURE_system_zlib=OFF -DQT_FEATURE_system_pcre2=OFF -DQT_FEATURE_system_harfbuzz=OFF \
        -DQT_FEATURE_system_freetype=OFF -DQT_FEATURE_system_libpng=OFF -DQT_FEATURE_system_jpeg=OFF \
        -DQT_FEATURE_system_doubleconversion=OFF -DQT_FEATURE_system_md4c=OFF \
        -DQT_FEATURE_sql_sqlite=OFF -DQT_FEATURE_network_proxy=ON
    say "building qtbase ($jobs jobs; about an hour on two cores)"
    cmake --build "$work/qtbase-build" --parallel "$jobs"
    cmake --install "$work/qtbase-build"
    touch "$prefix/qt/.done"
    rm -rf "$work/qtbase" "$work/qtbase-build"
fi

if [ ! -f "$prefix/qrencode/.done" ]; then
    tarball=$(fetch_orig qrencode libqrencode-dev)
    rm -rf "$work/qrencode" "$work/qrencode-build"
    mkdir -p "$work/qrencode"
    tar -xf "$tarball" -C "$work/qrencode" --strip-components=1
    say "building libqrencode (static)"
    cmake -S "$work/qrencode" -B "$work/qrencode-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix/qrencode" \
        -DBUILD_SHARED_LIBS=OFF -DWITH_TOOLS=OFF -DWITH_TESTS=OFF -DWITHOUT_PNG=ON
    cmake --build "$work/qrencode-build" --parallel "$jobs"
    cmake --install "$work/qrencode-build"
    touch "$prefix/qrencode/.done"
    rm -rf "$work/qrencode" "$work/qrencode-build"
fi

say "ready in $prefix"
