#!/bin/sh
# One calculation as a whole process: toravel-cli's computed path (start-up,
# the database, 56 lunar phases, 41 moonrises, the JSON report) timed over
# many runs beside PyEphem doing the same astronomy
# (tools/compare_pyephem/phases_and_moonrises.py), beside `toravel-cli --help`
# (start-up and option parsing alone) and /bin/true (starting a process).
#
#   bench/whole_process.sh [build-dir] [runs]
#
# build-dir defaults to build (it holds toravel-cli and db/); runs to 50.
# Times come from hyperfine (Debian package hyperfine) when it is installed,
# else from perf stat (linux-perf); both run the programs without a shell.
# Instruction counts of one run, which do not depend on the machine's load,
# come from perf stat when the processor's counters can be read, else from
# valgrind's callgrind (Debian package valgrind) when it is installed.
# Prints a Markdown table and the ratios PyEphem / toravel-cli.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${2:-50}
python=/usr/bin/python3
script="$here/../tools/compare_pyephem/phases_and_moonrises.py"

if [ ! -x "$build/toravel-cli" ] || [ ! -f "$build/db/bd.mdb" ]; then
    echo "no $build/toravel-cli or $build/db/bd.mdb: build the project first" >&2
    exit 1
fi

args="--date 15.06.1990 --time 14:30 --lat 55,75 --lon 37,62 --zone 3"
cli="$build/toravel-cli $args --json --db $build/db"
help="$build/toravel-cli --help"
pyephem="$python $script $args"

# The lunar clock adds the computer's own offset: pin it.
TZ=UTC
export TZ
# Each must work before it is timed.
for command in "$cli" "$help" "$pyephem"; do
    # shellcheck disable=SC2086
    if ! $command > /dev/null; then
        echo "failed: $command" >&2
        exit 1
    fi
done

results=$(mktemp)
trap 'rm -f "$results" "$results".*' EXIT

# One line per command: name, wall mean (s), wall stddev (s), user + system (s).
if command -v hyperfine > /dev/null 2>&1; then
    hyperfine --shell=none --warmup 5 --runs "$runs" --style none \
        --export-json "$results.json" \
        --command-name toravel-cli "$cli" --command-name "toravel-cli --help" "$help" \
        --command-name /bin/true /bin/true --command-name PyEphem "$pyephem" > /dev/null
    "$python" - "$results.json" > "$results" <<'PY'
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(f"{r['command']}\t{r['mean']}\t{r['stddev']}\t{r['user'] + r['system']}")
PY
elif command -v perf > /dev/null 2>&1; then
    for pair in "toravel-cli|$cli" "toravel-cli --help|$help" "/bin/true|/bin/true" \
        "PyEphem|$pyephem"; do
        name=${pair%%|*}
        command=${pair#*|}
        # shellcheck disable=SC2086
        perf stat -e task-clock -r "$runs" $command 2>&1 > /dev/null | awk -v name="$name" '
            /task-clock/ { cpu = $1 / 1e3 }
            /seconds time elapsed/ { mean = $1; stddev = $3 }
            END { printf "%s\t%s\t%s\t%s\n", name, mean, stddev, cpu }' >> "$results"
    done
else
    echo "neither hyperfine nor perf is installed" >&2
    exit 1
fi

# Instructions of one run, user and kernel space as the tool counts them.
instructions() {
    if command -v perf > /dev/null 2>&1 &&
        perf stat -x, -e instructions true 2>&1 | grep -q '^[0-9]'; then
        perf stat -x, -e instructions "$@" 2>&1 > /dev/null | awk -F, '/instructions/ { print $1 }'
    elif command -v valgrind > /dev/null 2>&1; then
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 > /dev/null |
            awk '/Collected/ { print $NF }'
    else
        echo "-"
    fi
}
# shellcheck disable=SC2086
cli_instructions=$(instructions $cli)
# shellcheck disable=SC2086
help_instructions=$(instructions $help)
true_instructions=$(instructions /bin/true)
# shellcheck disable=SC2086
python_instructions=$(instructions $pyephem)

load=$(cut -d' ' -f1-3 /proc/loadavg)
echo "$(date +%Y-%m-%d), $runs runs each, load average $load"
echo
echo "| process | wall, mean | user + system | instructions |"
echo "|---|---|---|---|"
while IFS="$(printf '\t')" read -r name mean stddev cpu; do
    case "$name" in
        toravel-cli) count=$cli_instructions ;;
        "toravel-cli --help") count=$help_instructions ;;
        /bin/true) count=$true_instructions ;;
        *) count=$python_instructions ;;
    esac
    awk -v name="$name" -v mean="$mean" -v stddev="$stddev" -v cpu="$cpu" -v n="$count" 'BEGIN {
        if (n ~ /^[0-9]+$/) n = sprintf("%.1f M", n / 1e6)
        printf "| %s | %.2f ms ± %.2f | %.2f ms | %s |\n", name, mean * 1e3, stddev * 1e3, cpu * 1e3, n
    }'
done < "$results"
echo
awk -F'\t' '
    $1 == "toravel-cli" { wall = $2; cpu = $4 }
    $1 == "PyEphem" { pywall = $2; pycpu = $4 }
    END {
        printf "PyEphem / toravel-cli: %.1f (wall), %.1f (user + system)\n", pywall / wall, pycpu / cpu
    }' "$results"
if [ "$cli_instructions" != "-" ] && [ "$python_instructions" != "-" ]; then
    echo "$python_instructions $cli_instructions" |
        awk '{ printf "PyEphem / toravel-cli: %.1f (instructions)\n", $1 / $2 }'
fi
