#!/bin/sh
# The report benchmarks on one demo data root, with each report's CPU and
# wall time as a ratio to the SQLite scan measured beside it, then the peak
# memory of the detailed report as a whole kasovka-report command.
#
#   bench/report/run.sh [BUILD_DIR] [DATA_ROOT] [RECORDS]
#
# The data root is made with kasovka-hostdata when it does not exist yet.
set -eu
build=${1:-build}
root=${2:-${TMPDIR:-/tmp}/kasovka-bench-report-data}
records=${3:-1000000}

if [ ! -f "$root/parametry.txt" ]; then
    rm -rf "$root"
    "$build/bin/kasovka-hostdata" demo "$root" --journal "$records" | head -n 1 > "$root.txt"
    mv "$root.txt" "$root/parametry.txt"
fi

KASOVKA_BENCH_DIR="$root" "$build/bench/bench_report" --benchmark_format=json \
    --benchmark_out="$root/bench.json" --benchmark_out_format=json >/dev/null
/usr/bin/python3 - "$root/bench.json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
scan = {}
for run in runs:
    name, label = run["name"].split("/")[0], run.get("label", "")
    cpu, wall = run["cpu_time"], run["real_time"]
    line = f'{name:16} {label:20} CPU {cpu:8.0f} ms  wall {wall:8.0f} ms'
    if name == "BM_SqliteScan":
        scan[label] = (cpu, wall)
    elif name == "BM_Report" and label in scan:
        line += f'  = {cpu / scan[label][0]:.2f}x / {wall / scan[label][1]:.2f}x the scan'
    print(line)
PY

# shellcheck disable=SC2046
/usr/bin/time -f "detailed report, whole command: peak %M KB, CPU %U+%S s, wall %e s" \
    "$build/bin/kasovka-report" $(cat "$root/parametry.txt") --set ZpusobSumace=1 \
    --json - > /dev/null
