#!/usr/bin/env bash
# Start-up benchmark: Dravik against a minimal Qt Widgets program with one table window.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]          (defaults: build, 10; SILENT_RUNS=3 for the last part)
#
# Every run starts the program afresh in an X server (its own Xvfb unless DISPLAY is set) with an
# empty temporary data folder whose set.ini points the start-up download at a loopback stand-in for
# the operator site serving four history pages. startup_probe measures the time from the exec to the
# first frame of the window titled "Dravik" (the first DAMAGE report of the mapped window after which
# it shows a picture rather than one flat colour) and the peak resident memory (VmHWM) one second
# after it.
# The baseline is measured the same way. Last, the site accepts connections and never answers:
# the page fetch gives up after its time limit (10 s) and the program reports the failure in its
# message box "提示" over the splash; the figure is the time to that box's first frame.
# Prints every run and the medians.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-10}
silent_runs=${SILENT_RUNS:-3}

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs"
fi

probe=$build/bench/startup_probe
baseline=$build/bench/baseline_window
program=$build/src/app/dravik
for f in "$probe" "$baseline" "$program"; do
    [ -x "$f" ] || { echo "missing $f: build the project first (cmake --build $build)" >&2; exit 1; }
done

work=$(mktemp -d)
source "$here/../scripts/loopback_site.sh"
trap 'stop_server; rm -rf "$work"' EXIT

# fresh_data_folder: an empty data folder pointed at the running site; prints its path.
fresh_data_folder() {
    local data
    data=$(mktemp -d "$work/data.XXXXXX")
    point_at_site "$data"
    echo "$data"
}

field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p"; }

# measure NAME WINDOW PROGRAM [probe options]: one probe run with a fresh data folder, appended to
# $work/NAME.txt.
measure() {
    local name=$1 window=$2 exe=$3
    shift 3
    local data line
    data=$(fresh_data_folder)
    # The probe ends the program and stops at its own time-out; `timeout` is the guard should the
    # probe itself ever hang.
    if ! line=$(XDG_DATA_HOME="$data" timeout -k 5 120 "$probe" --window "$window" "$@" -- "$exe" \
        2>"$work/stderr.log"); then
        echo "startup.sh: the probe failed on $name: ${line:-no result line}" >&2
        sed 's/^/  /' "$work/stderr.log" >&2
        exit 1
    fi
    echo "$line" >>"$work/$name.txt"
    printf '  %-9s %s\n' "$name" "$line"
}

python3 "$loopback_site" --write-pages "$work/site" --draws 30 >/dev/null
start_site --pages "$work/site"
echo "Start-up, $runs runs each (site on 127.0.0.1:$port, four pages of 30 draws):"
for i in $(seq "$runs"); do
    measure dravik Dravik "$program"
    measure baseline Baseline "$baseline"
done
stop_server

start_site --silent
echo "Start-up against a site that accepts and never answers, $silent_runs runs:"
for i in $(seq "$silent_runs"); do
    measure silent "提示" "$program" --timeout-ms 30000
done
stop_server

d_frame=$(field first_frame_ms <"$work/dravik.txt" | median)
d_rss=$(field peak_rss_kib <"$work/dravik.txt" | median)
b_frame=$(field first_frame_ms <"$work/baseline.txt" | median)
b_rss=$(field peak_rss_kib <"$work/baseline.txt" | median)
s_box=$(field first_frame_ms <"$work/silent.txt" | median)

echo
echo "Medians"
printf '  %-44s %8s ms  %8s KiB\n' "Dravik, first frame / peak RSS" "$d_frame" "$d_rss"
printf '  %-44s %8s ms  %8s KiB\n' "baseline (one window with a table)" "$b_frame" "$b_rss"
awk -v df="$d_frame" -v bf="$b_frame" -v dr="$d_rss" -v br="$b_rss" \
    'BEGIN { printf "  %-44s %8.2f x   %8.2f x   (targets: 1.5 x, 1.2 x)\n", "Dravik / baseline", df / bf, dr / br }'
printf '  %-44s %8s ms  (limit: 10 s + 1 s)\n' "silent site, first frame of the message box" "$s_box"
