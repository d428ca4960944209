#!/usr/bin/env bash
# The job as a user meets it: one whole process per run, from start to exit, on three line
# files of the largest size (32764 data rows, 1.6 MB each), timed by hyperfine against the
# lean reference (bench/lean_reference.cpp) in the same run, runs of the two interleaved
# by hyperfine's alternation of commands; then the peak resident size of a max-size run and
# of a one-row run. Builds what it needs with the preset "default" first.
# Needs: tools/install-deps, then apt-get install hyperfine
# Usage: bench/cold.sh [runs, default 40]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-40}
cmake --preset default >/dev/null
cmake --build --preset default --target kelvane_job_once lean_reference >/dev/null
job=$PWD/build/bench/kelvane_job_once lean=$PWD/build/bench/lean_reference
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
mkdir "$work/max" "$work/one"
for name in Race MaxRace MinRace; do
  awk -v s="${#name}" 'BEGIN { printf "0\n327640\n32764\n"; for (i = 0; i < 32764; i++) printf "%d,%.3f,%.3f,150.5,0.9\n", i * 10, i / 7, (s - 5) * (i % 13) / 3 }' >"$work/max/$name.txt"
  printf '0\n0\n1\n1,2,%d,3,4\n' "${#name}" >"$work/one/$name.txt"
done
"$lean" "$work/max" && mkdir "$work/lean" && cp "$work/max"/Pass?.txt "$work/lean/"
"$job" "$work/max" && cmp "$work/max/Pass1.txt" "$work/lean/Pass1.txt" &&
  cmp "$work/max/Pass2.txt" "$work/lean/Pass2.txt" || { echo "the two wrote different pass lines" >&2 && exit 1; }

hyperfine -N --warmup 5 --runs "$runs" --export-json "$work/times.json" \
  -n kelvane "$job $work/max" -n lean "$lean $work/max" -n kelvane-one-row "$job $work/one" >/dev/null
python3 - "$work/times.json" <<'PY'
import json, statistics, sys
results = {r["command"]: sorted(t * 1000 for t in r["times"]) for r in json.load(open(sys.argv[1]))["results"]}
def quartiles(t): return t[len(t) // 4], statistics.median(t), t[3 * len(t) // 4]
for name, times in results.items():
    q1, median, q3 = quartiles(times)
    print(f"{name:16} median {median:6.1f} ms  (quartiles {q1:.1f} to {q3:.1f}, min {times[0]:.1f}, max {times[-1]:.1f})")
print(f"kelvane / lean: {statistics.median(results['kelvane']) / statistics.median(results['lean']):.2f}")
PY
peak() { for _ in 1 2 3 4 5; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null; done | sort -n | sed -n 3p; }
max_kib=$(peak "$job" "$work/max") one_kib=$(peak "$job" "$work/one")
echo "peak resident size: max-size run $((max_kib / 1024)) MiB, one-row run $((one_kib / 1024)) MiB, difference $(((max_kib - one_kib) / 1024)) MiB (median of 5)"
