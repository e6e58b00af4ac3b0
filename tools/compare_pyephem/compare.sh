#!/bin/sh
# The same astronomy done by PyEphem and by toravel-cli, side by side in one
# run: 56 lunar phases from 1 December of the year before the birth year and
# 41 moonrises at one place, timed as whole processes (start-up included).
#
#   tools/compare_pyephem/compare.sh [build-dir] [runs]
#
# build-dir defaults to build (it holds toravel-cli and db/); runs to 30.
# Uses hyperfine when it is installed, otherwise a plain loop. Prints the
# mean time of each process and the ratio PyEphem / toravel-cli.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${2:-30}

date=15.06.1990
time=14:30
lat=55,75
lon=37,62
zone=3

cli="$build/toravel-cli --date $date --time $time --lat $lat --lon $lon --zone $zone --json --db $build/db"
python="/usr/bin/python3 $here/phases_and_moonrises.py --date $date --time $time --lat $lat --lon $lon --zone $zone"

export TZ=UTC
# Both must work before they are timed.
$cli > /dev/null
$python > /dev/null

if command -v hyperfine > /dev/null 2>&1; then
    report=$(mktemp)
    trap 'rm -f "$report"' EXIT
    hyperfine --shell=none --warmup 3 --runs "$runs" --export-json "$report" \
        --command-name toravel-cli "$cli" --command-name PyEphem "$python"
    /usr/bin/python3 - "$report" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
cli, py = results["toravel-cli"], results["PyEphem"]
print(f"toravel-cli {cli['mean'] * 1e3:.1f} ms ± {cli['stddev'] * 1e3:.1f}, "
      f"user {cli['user'] * 1e3:.1f} ms, system {cli['system'] * 1e3:.1f} ms")
print(f"PyEphem     {py['mean'] * 1e3:.1f} ms ± {py['stddev'] * 1e3:.1f}, "
      f"user {py['user'] * 1e3:.1f} ms, system {py['system'] * 1e3:.1f} ms")
print(f"ratio (wall) PyEphem / toravel-cli = {py['mean'] / cli['mean']:.1f}")
print(f"ratio (user + system) = {(py['user'] + py['system']) / (cli['user'] + cli['system']):.1f}")
PY
else
    seconds() { date +%s.%N; }
    loop() {
        start=$(seconds)
        i=0
        while [ "$i" -lt "$runs" ]; do
            "$@" > /dev/null
            i=$((i + 1))
        done
        end=$(seconds)
        echo "$start $end $runs" | awk '{ printf "%.1f\n", ($2 - $1) * 1000 / $3 }'
    }
    # shellcheck disable=SC2086
    cli_ms=$(loop $cli)
    # shellcheck disable=SC2086
    python_ms=$(loop $python)
    echo "toravel-cli $cli_ms ms per run"
    echo "PyEphem     $python_ms ms per run"
    echo "$python_ms $cli_ms" | awk '{ printf "ratio PyEphem / toravel-cli = %.1f\n", $1 / $2 }'
fi
