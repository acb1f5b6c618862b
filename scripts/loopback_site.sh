# Shell helpers for the scripts that start the program against loopback_site.py, the stand-in for the
# operator site. Sourced; the caller sets $work to a temporary folder of its own first.

loopback_site=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/loopback_site.py
server=
port=

# start_site MODE...: the loopback site in the background; sets $server and $port.
start_site() {
    : >"$work/port"
    python3 "$loopback_site" "$@" >"$work/port" &
    server=$!
    for _ in $(seq 200); do
        [ -s "$work/port" ] && break
        sleep 0.05
    done
    port=$(head -n1 "$work/port")
    [ -n "$port" ] || { echo "the loopback site did not start" >&2; exit 1; }
}

stop_server() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
        server=
    fi
}

# point_at_site DATA_HOME: a data folder under DATA_HOME whose set.ini points the start-up download
# at the running site.
point_at_site() {
    mkdir -p "$1/Dravik"
    printf '[download]\r\nsite=http://127.0.0.1:%s\r\n' "$port" >"$1/Dravik/set.ini"
}

# median: the median of the numbers on standard input, "-" when there are none.
median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
