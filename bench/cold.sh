#!/usr/bin/env bash
# The job as a user meets it: one whole process per run, from start to exit, on three line
# files of the largest size (32764 data rows, 1.6 MB each), timed by hyperfine against the
# lean reference (bench/lean_reference.cpp) in the same run. hyperfine runs one command's
# runs before the next command's, so it is called in rounds of 5 runs each and the rounds
# are pooled: a slow spell of the machine then falls on both alike. Then the peak resident
# size of a max-size run and of a one-row run. Builds what it needs with the preset
# "default" first.
# Needs: tools/install-deps, then apt-get install hyperfine
# Usage: bench/cold.sh [runs, default 40, rounded up to a multiple of 5]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-40}
cmake --preset default >/dev/null
cmake --build --preset default --target kelvane_job_once lean_reference >/dev/null
job=$PWD/build/bench/kelvane_job_once lean=$PWD/build/bench/lean_reference
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
mkdir "$work/max" "$work/one"
for name in Race MaxRace MinRace; do
  awk -v s="${#name}" 'BEGIN { printf "0\n327640\n32764\n"; for (i = 0; i < 32764; i++) printf "%.4f,%.6f,%.6f,%.3f,%.5f\n", i * 10.123, i / 7, (s - 5) * (i % 13) / 3, 150.5 + (i % 7) / 8, 0.9 + (i % 11) / 100 }' >"$work/max/$name.txt"
  printf '0\n0\n1\n1,2,%d,3,4\n' "${#name}" >"$work/one/$name.txt"
done
"$lean" "$work/max" && mkdir "$work/lean" && cp "$work/max"/Pass?.txt "$work/lean/"
"$job" "$work/max" && cmp "$work/max/Pass1.txt" "$work/lean/Pass1.txt" &&
  cmp "$work/max/Pass2.txt" "$work/lean/Pass2.txt" || { echo "the two wrote different pass lines" >&2 && exit 1; }

for ((round = 0; round * 5 < runs; round++)); do
  hyperfine -N --warmup 1 --runs 5 --export-json "$work/round-$round.json" \
    -n kelvane "$job $work/max" -n lean "$lean $work/max" \
    -n kelvane-one-row "$job $work/one" -n lean-one-row "$lean $work/one" >/dev/null
done
python3 - "$work"/round-*.json <<'PY'
import json, statistics, sys
results = {}
for round_file in sys.argv[1:]:
    for r in json.load(open(round_file))["results"]:
        results.setdefault(r["command"], []).extend(t * 1000 for t in r["times"])
results = {name: sorted(times) for name, times in results.items()}
def quartiles(t): return t[len(t) // 4], statistics.median(t), t[3 * len(t) // 4]
for name, times in results.items():
    q1, median, q3 = quartiles(times)
    print(f"{name:16} median {median:6.1f} ms  (quartiles {q1:.1f} to {q3:.1f}, min {times[0]:.1f}, max {times[-1]:.1f})")
median = {name: statistics.median(times) for name, times in results.items()}
print(f"kelvane / lean, whole processes: {median['kelvane'] / median['lean']:.2f}")
job, lean = median['kelvane'] - median['kelvane-one-row'], median['lean'] - median['lean-one-row']
print(f"kelvane / lean, the job alone (each minus its one-row run): {job:.1f} / {lean:.1f} ms = {job / lean:.2f}")
PY
peak() { for _ in 1 2 3 4 5; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null; done | sort -n | sed -n 3p; }
max_kib=$(peak "$job" "$work/max") one_kib=$(peak "$job" "$work/one")
echo "peak resident size: max-size run $((max_kib / 1024)) MiB, one-row run $((one_kib / 1024)) MiB, difference $(((max_kib - one_kib) / 1024)) MiB (median of 5)"
