#!/usr/bin/env bash
# Dravik for Windows 10/11 (x86-64), built and tested on this Debian machine in one command (the
# README's "Windows"): the MinGW-w64 toolchain (built once per machine, scripts/windows/toolchain.sh),
# the cross build in build-windows/, the Windows test programs under Wine, the installer and the
# portable zip, and the installer as a user meets it (scripts/windows/installer_test.sh): installed
# silently into a fresh Wine prefix in a virtual X server, the program started against a loopback
# site until it has written the downloaded archive, its window saved as docs/windows.png, maximised
# by the header's menu (docs/windows-max.png), then uninstalled. Installs what it needs with apt-get (as root). Exits non-zero on any failure; the
# last line sums it up.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build-windows
jobs=${DRAVIK_JOBS:-2}

say() { echo "[windows] $*"; }
took() { printf '%dm%02ds' $((SECONDS / 60)) $((SECONDS % 60)); }
fail() {
    echo "windows: FAILED: $* ($(took))"
    exit 1
}
mib() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f MiB", b / 1048576 }'; }

say "packages"
. scripts/windows/packages.sh
install_missing wine64 nsis librsvg2-bin icoutils xvfb xauth x11-utils xdotool imagemagick python3 \
    qt6-translations-l10n fonts-wqy-microhei locales || fail "installing packages"
# Wine takes its Windows locale, and its file names' encoding, from the system's locale: the
# installed program runs as on a Chinese Windows.
if ! locale -a | grep -qx 'zh_CN.utf8'; then
    say "adding the locale zh_CN.UTF-8"
    localedef -i zh_CN -c -f UTF-8 zh_CN.UTF-8 || fail "adding the locale zh_CN.UTF-8"
fi

say "toolchain"
bash scripts/windows/toolchain.sh || fail "the toolchain"

say "cross build in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null || fail "configuring the cross build"
cmake --build "$build" -j"$jobs" || fail "the cross build"
cmake --build "$build" --target dravik_windows_packages || fail "packing the installer and the zip"

say "the Windows test programs under Wine"
. scripts/windows/wine_prefix.sh
rm -rf "$build/wine-template"
new_wine_prefix "$build/wine-template" || fail "making a Wine prefix"
log=$build/ctest.log
DRAVIK_WINE_TEMPLATE=$build/wine-template ctest --test-dir "$build" --output-on-failure -j"$jobs" 2>&1 | tee "$log"
tests=${PIPESTATUS[0]}
counts=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests* failed out of \([0-9]*\)$/\1 \2/p' "$log")
read -r failed total <<<"${counts:-? ?}"
[ "$tests" -eq 0 ] || fail "$failed of $total Windows test programs under Wine"

installer=$(ls "$build"/Dravik-*-win64-setup.exe)
zip=$(ls "$build"/Dravik-*-win64.zip)
say "the installer under Wine"
xvfb-run -a -s "-screen 0 1920x1080x24" \
    bash scripts/windows/installer_test.sh "$installer" "$build/installer-test" docs/windows.png ||
    fail "the installer test"

echo "windows: passed: $total Windows test programs under Wine; $(basename "$installer") $(mib "$installer")," \
    "$(basename "$zip") $(mib "$zip") in build-windows/; installed, started, downloaded, saved and uninstalled" \
    "under Wine; docs/windows.png, docs/windows-max.png ($(took))"
