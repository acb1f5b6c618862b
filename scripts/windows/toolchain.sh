#!/usr/bin/env bash
# Builds, once per machine, what the Windows build of Dravik links against: qtbase (Core, Gui, Widgets,
# Network, Test and the Windows platform plugin), libqrencode and libxml2 for x86_64-w64-mingw32, from
# Debian's source packages of the host's own versions, into a cache folder outside the repository
# (${DRAVIK_MINGW_PREFIX:-~/.cache/dravik-mingw}). qtbase and libxml2 get Debian's own fixes (the
# security ones always), listed with the Debian version in qt/debian-patches.txt and
# libxml2/debian-patches.txt. Installs what it needs with apt-get (as root); to reach the source
# packages it adds a deb-src entry for the machine's own Debian package source. A second run finds the
# finished stamps and does nothing, unless the host's Qt or libxml2 has changed version since (a
# security update), when that one is built again.
set -euo pipefail

prefix=${DRAVIK_MINGW_PREFIX:-$HOME/.cache/dravik-mingw}
jobs=${DRAVIK_JOBS:-$(nproc)}
here=$(cd "$(dirname "$0")/../.." && pwd)
toolchain=$here/cmake/mingw-w64-x86_64.cmake
work=$prefix/src
mkdir -p "$work"

say() { echo "[toolchain] $*"; }

# The Qt and libxml2 in the prefix follow the host's: a newer Debian revision (a security update) is
# built again. Arguments: the folder in the prefix, the host's package, what it is called.
follow_host() {
    local host
    host=$(dpkg-query -W -f='${source:Version}' "$2" 2>/dev/null || true)
    if [ -f "$prefix/$1/.done" ] && [ "$(head -n 1 "$prefix/$1/debian-patches.txt" 2>/dev/null)" != "$host" ]; then
        say "the host's $3 is ${host:-not installed}, the prefix's $(head -n 1 "$prefix/$1/debian-patches.txt" 2>/dev/null || echo unknown): building $3 again"
        rm -f "$prefix/$1/.done"
    fi
}
follow_host qt qt6-base-dev qtbase
follow_host libxml2 libxml2-dev libxml2

if [ -f "$prefix/qt/.done" ] && [ -f "$prefix/qrencode/.done" ] && [ -f "$prefix/libxml2/.done" ]; then
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
    qt6-base-dev qt6-base-dev-tools libqrencode-dev libxml2-dev

# The source package of the host's version, downloaded once: the original (upstream) tarball and
# Debian's changes.
fetch_source() {
    local pkg=$1 version
    version=$(dpkg-query -W -f='${source:Version}' "$2")
    if ! ls "$work/${pkg}_${version#*:}.dsc" >/dev/null 2>&1; then
        say "downloading the source of $pkg $version" >&2
        # A mirror may lack a part that is not needed (libqrencode's Debian changes): what is needed is
        # checked where it is used.
        (cd "$work" && apt-get source --download-only "$pkg=$version") >&2 ||
            say "not every part of the source of $pkg came" >&2
    fi
}
orig_tarball() {
    local found
    found=$(ls "$work/${1}_$(dpkg-query -W -f='${source:Upstream-Version}' "$2").orig.tar."* 2>/dev/null | head -n 1)
    [ -n "$found" ] || say "the source of $1 could not be downloaded" >&2
    echo "$found"
    [ -n "$found" ]
}

# Debian's patches of a source package ($1, of the host's binary package $2) that the Windows build
# takes, in the order of debian/patches/series, into the source tree $3; writes the list to $4 (the
# Debian version first). Every patch that fixes a bug or a security issue in code that is compiled is
# taken; those of qtbase that only fit Debian's Linux packaging are left out, each for the reason given
# (libxml2's all apply and are taken). A security fix ("cve" in its name) that does not apply stops the
# build: the installer must not ship without it.
apply_debian_patches() {
    local pkg=$1 tree=$3 list=$4 version debian patch name unpacked=$work/$1-debian
    version=$(dpkg-query -W -f='${source:Version}' "$2")
    debian=$(ls "$work/${pkg}_${version#*:}.debian.tar."* 2>/dev/null | head -n 1)
    if [ -z "$debian" ]; then
        say "Debian's changes to $pkg $version could not be downloaded"
        return 1
    fi
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    tar -xf "$debian" -C "$unpacked"
    echo "$version" >"$list.new"
    while read -r name; do
        case "$name" in
        "" | \#*) continue ;;
        remove_privacy_breaches.*) reason="the HTML documentation's scripts, not built" ;;
        build_path_embedded_*) reason="Debian's build paths in the installed CMake files" ;;
        cross.patch) reason="Debian's own cross builds (pkg-config of the build machine)" ;;
        force_shared_*) reason="links Debian's shared library where the Windows build uses Qt's own copy" ;;
        armel-*) reason="ARM processors only" ;;
        *) reason= ;;
        esac
        if [ -n "$reason" ]; then
            say "Debian patch $name left out: $reason"
            continue
        fi
        patch=$unpacked/debian/patches/$name
        if patch -d "$tree" -p1 --forward --batch --silent <"$patch"; then
            say "Debian patch $name applied"
            echo "$name" >>"$list.new"
        else
            case "$name" in
            *[Cc][Vv][Ee]*)
                say "the security fix $name does not apply"
                return 1
                ;;
            esac
            say "Debian patch $name does not apply to this source: left out"
        fi
    done <"$unpacked/debian/patches/series"
    mv "$list.new" "$list"
    rm -rf "$unpacked"
}

if [ ! -f "$prefix/qt/.done" ]; then
    fetch_source qt6-base qt6-base-dev
    tarball=$(orig_tarball qt6-base qt6-base-dev)
    rm -rf "$work/qtbase" "$work/qtbase-build" "$prefix/qt"
    mkdir -p "$work/qtbase" "$prefix/qt"
    say "unpacking $(basename "$tarball")"
    tar -xf "$tarball" -C "$work/qtbase" --strip-components=1
    apply_debian_patches qt6-base qt6-base-dev "$work/qtbase" "$work/debian-patches.txt"
    say "configuring qtbase for x86_64-w64-mingw32"
    # No ICU (GB18030 is the program's own, over the system's code page 936), TLS by Schannel, OpenGL loaded at run
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
    mv "$work/debian-patches.txt" "$prefix/qt/debian-patches.txt"
    touch "$prefix/qt/.done"
    rm -rf "$work/qtbase" "$work/qtbase-build"
fi

if [ ! -f "$prefix/qrencode/.done" ]; then
    fetch_source qrencode libqrencode-dev
    tarball=$(orig_tarball qrencode libqrencode-dev)
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

# libxml2, static: the HTML parser that reads the pages users name. The program hands it UTF-8 only
# (GB18030 is the program's own), so it needs no iconv or ICU; no compression, network, Python or
# programs either.
if [ ! -f "$prefix/libxml2/.done" ]; then
    fetch_source libxml2 libxml2-dev
    tarball=$(orig_tarball libxml2 libxml2-dev)
    rm -rf "$work/libxml2" "$work/libxml2-build" "$prefix/libxml2"
    mkdir -p "$work/libxml2" "$prefix/libxml2"
    tar -xf "$tarball" -C "$work/libxml2" --strip-components=1
    apply_debian_patches libxml2 libxml2-dev "$work/libxml2" "$work/libxml2-debian-patches.txt"
    say "building libxml2 (static)"
    cmake -S "$work/libxml2" -B "$work/libxml2-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix/libxml2" \
        -DBUILD_SHARED_LIBS=OFF -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF \
        -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF \
        -DLIBXML2_WITH_MODULES=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_PROGRAMS=OFF \
        -DLIBXML2_WITH_TESTS=OFF
    cmake --build "$work/libxml2-build" --parallel "$jobs"
    cmake --install "$work/libxml2-build"
    mv "$work/libxml2-debian-patches.txt" "$prefix/libxml2/debian-patches.txt"
    touch "$prefix/libxml2/.done"
    rm -rf "$work/libxml2" "$work/libxml2-build"
fi

say "ready in $prefix"
