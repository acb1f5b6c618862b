#!/usr/bin/env bash
# Builds the .deb with cpack, unpacks it into a temporary root, checks its files and dependencies, and
# starts the unpacked program in an X server until its window is mapped. The program's start-up
# download goes to a loopback stand-in for the operator site, never to another host.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$(dirname "$0")/package_files.sh"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$0" "$@"
fi

work=$(mktemp -d)
source "$source_dir/scripts/loopback_site.sh"
app=
cleanup() {
    if [ -n "$app" ]; then
        kill "$app" 2>/dev/null || true
        wait "$app" 2>/dev/null || true
    fi
    stop_server
    rm -rf "$work"
}
trap cleanup EXIT

# The package.
if ! (cd "$build" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1); then
    cat "$work/cpack.log"
    fail "cpack failed"
fi
deb=$(ls "$work"/cpack/dravik_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in fonts-wqy-microhei libqt6widgets6 libqt6network6 libqt6svg6 libqrencode4 libxml2 libc6; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "the package does not depend on $needed"
done
[ "$(dpkg-deb -f "$deb" Package)" = dravik ] || fail "the package is not named dravik"

dpkg-deb -x "$deb" "$work/root"
check_package_files "$work/root/usr" 1
if ldd "$work/root/usr/bin/dravik" | grep 'not found'; then
    fail "the unpacked program misses libraries"
fi

# The operator site's stand-in, and a data folder that points the program at it.
python3 "$loopback_site" --write-pages "$work/site" >"$work/expected.txt"
start_site --pages "$work/site"
point_at_site "$work/data"

# The unpacked program, until its window is mapped.
XDG_DATA_HOME="$work/data" "$work/root/usr/bin/dravik" >"$work/dravik.log" 2>&1 &
app=$!
mapped=
for _ in $(seq 600); do
    kill -0 "$app" 2>/dev/null || { cat "$work/dravik.log"; fail "dravik ended before its window showed"; }
    for id in $(xwininfo -root -tree 2>/dev/null | awk '/"Dravik"/ { print $1 }'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            mapped=$id
        fi
    done
    [ -n "$mapped" ] && break
    sleep 0.1
done
if [ -z "$mapped" ]; then
    xwininfo -root -tree >&2 || true
    fail "no mapped window named Dravik within 60 s"
fi
echo "window $mapped mapped"

# The window shows its splash while the start-up download runs: the download read the stand-in's
# pages once the built-in archive holds their draws.
records="$work/data/Dravik/南粤风采好彩1.dat"
downloaded() { [ -f "$records" ] && diff <(tr -d '\r' <"$records") "$work/expected.txt" >/dev/null; }
for _ in $(seq 300); do
    downloaded && break
    sleep 0.1
done
kill "$app"
wait "$app" 2>/dev/null || true
app=
[ -f "$records" ] || fail "the start-up download wrote no record file"
downloaded || fail "the record file does not hold the draws of the loopback pages"
echo "the unpacked package starts and shows its window"
