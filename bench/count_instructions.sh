#!/bin/bash
# Millions of instructions per simulated second of each sample aircraft,
# counted by callgrind (independent of the machine's load).
# Usage: bench/count_instructions.sh <build dir with -DSKYVANE_BENCH=ON> [sample index ...]
set -euo pipefail
bench="$1/bench/sample_aircraft_bench"
shift
names=(christeneagle trainer jet glider heli heli01)
count() {
  local out
  out=$(mktemp)
  valgrind --tool=callgrind --callgrind-out-file="$out" "$bench" --benchmark_filter="^$1/$2/" >/dev/null 2>&1
  callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}'
  rm -f "$out"
}
for i in "${@:-0 1 2 3 4 5}"; do
  for k in $i; do
    a=$(count Frames300 "$k")
    b=$(count Frames600 "$k")
    # 300 frames of 1/60 s: 5 simulated seconds
    awk -v a="$a" -v b="$b" -v n="${names[$k]}" 'BEGIN { printf "%-14s %6.2f M instructions per simulated second\n", n, (b - a) / 5e6 }'
  done
done
