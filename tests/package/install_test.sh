#!/usr/bin/env bash
# cmake --install of the build tree into a temporary prefix gives the program, the desktop entry, the
# AppStream data and the icons where a desktop looks for them.
set -euo pipefail
build=$1
with_program=$2
source "$(dirname "$0")/package_files.sh"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
check_package_files "$root/usr" "$with_program"
echo "installed tree complete"
