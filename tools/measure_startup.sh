#!/bin/sh
# Start-up of the desktop application to its first shown window.
#
#   tools/measure_startup.sh [build-dir] [runs]
#
# Starts build-dir/app/toravel (build-dir defaults to build, runs to 20)
# from build-dir, where db/ lies, on a virtual X server (Xvfb), many times. Each
# run is timed from just before the process is started until the main window
# is mapped and viewable (xdotool, polled every few milliseconds, finds a
# visible window of the process); then the process is ended. Prints every
# time and the median, in milliseconds. The polling adds a few milliseconds
# at most.
set -eu

build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
app="$build/app/toravel"

if [ ! -x "$app" ]; then
    echo "no $app: build the application first" >&2
    exit 1
fi
for tool in Xvfb xdotool; do
    if ! command -v "$tool" > /dev/null 2>&1; then
        echo "$tool is needed (Debian packages xvfb and xdotool)" >&2
        exit 1
    fi
done

# One virtual X server for all runs, on a display number of its own far
# from the usual ones (other X servers come and go on a shared machine, and
# one that starts on a taken display can take the socket away).
log=$(mktemp)
xvfb=""
trap 'if [ -n "$xvfb" ]; then kill "$xvfb" 2> /dev/null; wait "$xvfb" 2> /dev/null; fi; rm -f "$log"' EXIT
number=$((200 + $$ % 700))
tries=0
while :; do
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp 2> /dev/null &
    xvfb=$!
    DISPLAY=:$number
    export DISPLAY
    waited=0
    # Ready when a client gets through; a server that ends found its
    # display taken.
    until xdotool getdisplaygeometry > /dev/null 2>&1 || ! kill -0 "$xvfb" 2> /dev/null ||
        [ "$waited" -ge 500 ]; do
        sleep 0.01
        waited=$((waited + 1))
    done
    if kill -0 "$xvfb" 2> /dev/null && xdotool getdisplaygeometry > /dev/null 2>&1; then
        break
    fi
    kill "$xvfb" 2> /dev/null || true
    wait "$xvfb" 2> /dev/null || true
    xvfb=""
    tries=$((tries + 1))
    if [ "$tries" -ge 10 ]; then
        echo "no virtual X server could be started" >&2
        exit 1
    fi
    number=$((number + 1))
done

cd "$build"
times=""
refused=0
i=0
while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    "$app" > /dev/null 2> "$log" &
    pid=$!
    shown=yes
    until xdotool search --onlyvisible --pid "$pid" > /dev/null 2>&1; do
        if ! kill -0 "$pid" 2> /dev/null; then
            shown=no
            break
        fi
        sleep 0.002
    done
    end=$(date +%s%N)
    if [ "$shown" = no ]; then
        wait "$pid" 2> /dev/null || true
        # On the shared machine the X connection is now and then refused;
        # such a start is no start-up and is tried again. Anything else ends
        # the measurement.
        if grep -q "could not connect to display" "$log" && [ "$refused" -lt 10 ]; then
            refused=$((refused + 1))
            continue
        fi
        echo "toravel ended before it showed a window on $DISPLAY:" >&2
        cat "$log" >&2
        exit 1
    fi
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    times="$times $(((end - start) / 1000000))"
    i=$((i + 1))
done

if [ "$refused" -gt 0 ]; then
    echo "($refused starts were refused the X connection and tried again)"
fi
echo "start-up to the first shown window, ms:$times"
echo "$times" | tr ' ' '\n' | grep . | sort -n | awk '
    { t[NR] = $1 }
    END {
        median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
        printf "median %.0f ms over %d runs (fastest %d, slowest %d)\n", median, NR, t[1], t[NR]
    }'
