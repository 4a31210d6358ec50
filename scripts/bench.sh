#!/usr/bin/env bash
# Builds the release preset and runs the benchmarks; each prints the ratio
# it is judged by on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target bench_ini_engine bench_perlre bench_lcr_evaluation bench_tk32_search \
  -j "$(nproc)"
for bench in "$build"/bench/bench_*; do
  [[ -x "$bench" && -f "$bench" ]] || continue
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
