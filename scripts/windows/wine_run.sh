#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: CTest's emulator for the Windows test
# programs (see cmake/mingw-w64-x86_64.cmake). Each run gets a Wine prefix of its own, a copy of
# DRAVIK_WINE_TEMPLATE (a prefix made by new_wine_prefix and never run in) or else a new one, so
# that the data folder (%LOCALAPPDATA%\Dravik) starts empty and nothing is left behind. The program
# finds Qt's and the compiler's DLLs where the build linked them. Usage: wine_run.sh PROGRAM [ARG...]
set -uo pipefail
. "$(dirname "$0")/wine_prefix.sh"

prefix=${DRAVIK_MINGW_PREFIX:-$HOME/.cache/dravik-mingw}
folders=("$prefix/qt/bin")
for dll in libstdc++-6.dll libwinpthread-1.dll; do
    folders+=("$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")
done
WINEPATH=
for folder in "${folders[@]}"; do
    folder=$(realpath "$folder")
    WINEPATH+="Z:${folder//\//\\};"
done
export WINEPATH

run=$(mktemp -d)
export WINEPREFIX=$run/prefix
if [ -n "${DRAVIK_WINE_TEMPLATE:-}" ]; then
    cp -a "$DRAVIK_WINE_TEMPLATE" "$WINEPREFIX"
else
    new_wine_prefix "$WINEPREFIX"
fi
"$wine" "$@"
status=$?
end_wine_prefix "$WINEPREFIX"
rm -rf "$run"
exit $status
