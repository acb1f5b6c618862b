#!/usr/bin/env bash
# Starts the program many times in a row, to catch a start that fails only now and then.
#
#   scripts/start_loop.sh [BUILD_DIR] [STARTS]          (defaults: build, 300)
#
# Each start runs in an X server (its own Xvfb for the whole loop unless DISPLAY is set; FRESH_X=1
# gives every start an Xvfb of its own) with an empty temporary data folder whose set.ini points the
# start-up download at a loopback stand-in for the operator site. bench/startup_probe waits for the
# first frame of the window "Dravik", lets it settle, closes it as the close button does and waits for
# the program to end. The loop counts how the starts ended and prints a summary; a start that ended
# otherwise than with status 0 keeps its folder under BUILD_DIR/start-loop/: the program's messages,
# and for a start ended by a signal its core file and a gdb backtrace of every thread.
# Exits non-zero when any start did not end with status 0. Not a test of the suite: it takes minutes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
starts=${2:-300}

if [ -z "${DISPLAY:-}" ] && [ "${FRESH_X:-0}" != 1 ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$starts"
fi

probe=$build/bench/startup_probe
program=$build/src/app/dravik
for f in "$probe" "$program"; do
    [ -x "$f" ] || {
        echo "missing $f: build it first (cmake --build $build --target startup_probe dravik)" >&2
        exit 1
    }
done
command -v gdb >/dev/null || echo "gdb is missing: cores are kept without a backtrace" >&2

keep=$build/start-loop
rm -rf "$keep"
mkdir -p "$keep"
work=$(mktemp -d)
source "$here/loopback_site.sh"
trap 'stop_server; rm -rf "$work"' EXIT

python3 "$loopback_site" --write-pages "$work/site" --draws 30 >/dev/null
start_site --pages "$work/site"

# Cores land in the working folder of the process when the kernel's core_pattern is a plain name.
ulimit -c unlimited || true
core_pattern=$(cat /proc/sys/kernel/core_pattern 2>/dev/null || echo "?")
case $core_pattern in
    /* | \|*) echo "note: core_pattern is '$core_pattern': cores are not written beside the start" >&2 ;;
esac

declare -A ends=()
no_frame=0
frames=()
echo "Starting $program $starts times (site on 127.0.0.1:$port)"
for i in $(seq "$starts"); do
    run=$work/run
    rm -rf "$run"
    point_at_site "$run/data"
    probe_command=("$probe" --window Dravik --close --settle-ms 300 --timeout-ms 30000 -- "$program")
    if [ "${FRESH_X:-0}" = 1 ]; then
        probe_command=(xvfb-run -a -s "-screen 0 1280x1024x24" "${probe_command[@]}")
    fi
    line=$(cd "$run" && XDG_DATA_HOME="$run/data" timeout -k 5 120 "${probe_command[@]}" 2>"$run/messages.txt") || true
    status=$(sed -n 's/.*\bstatus=\([^ ]*\).*/\1/p' <<<"$line")
    status=${status:-probe-failed}
    frame=$(sed -n 's/.*\bfirst_frame_ms=\([^ ]*\).*/\1/p' <<<"$line")
    if [ -z "$frame" ] || [ "$frame" = -1 ]; then
        no_frame=$((no_frame + 1))
    else
        frames+=("$frame")
    fi
    ends[$status]=$((${ends[$status]:-0} + 1))
    if [ "$status" != exit:0 ]; then
        kept=$keep/start-$i
        mv "$run" "$kept"
        rm -rf "$kept/data"
        echo "$line" >"$kept/probe.txt"
        core=$(find "$kept" -maxdepth 1 -name 'core*' -type f | head -n1)
        if [ -n "$core" ] && command -v gdb >/dev/null; then
            gdb -batch -q -ex "thread apply all bt" "$program" "$core" >"$kept/backtrace.txt" 2>&1 || true
        fi
        echo "start $i: $status${core:+, core kept}: $kept"
    fi
    if [ $((i % 50)) -eq 0 ]; then
        echo "  $i starts done"
    fi
done

median=-
[ ${#frames[@]} -eq 0 ] || median=$(printf '%s\n' "${frames[@]}" | median)
echo
x_server="one Xvfb for all starts"
[ "${FRESH_X:-0}" = 1 ] && x_server="a fresh Xvfb per start"
echo "Summary of $starts starts ($x_server)"
for status in "${!ends[@]}"; do
    printf '  %-14s %5d\n' "$status" "${ends[$status]}"
done | sort
printf '  %-14s %5d\n' "no frame" "$no_frame"
echo "  median time to first frame: $median ms"
[ "${ends[exit:0]:-0}" -eq "$starts" ]
