#!/usr/bin/env bash
# Builds the release preset and runs the benchmarks; each prints the ratio
# it is judged by on its last line, and PERF lines (figure, baseline, ratio,
# aim) that scripts/perf-report.sh turns into docs/performance.md.
#
#   scripts/bench.sh [--no-wine] [options for the Google Benchmark programs]
#
# The native benchmarks run first, then the POSIX host against crudini,
# then, unless --no-wine, the Windows server's round trips and start under
# Wine (bench/wine_roundtrip.sh, bench/wine_startup.sh; they build the
# Windows server first).
set -euo pipefail
cd "$(dirname "$0")/.."

wine=1
if [[ ${1:-} == --no-wine ]]; then
  wine=0
  shift
fi
scripts/install-deps.sh

build=build/release
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target bench_ini_engine bench_perlre bench_lcr_evaluation bench_tk32_search \
  velkora -j2
for bench in "$build"/bench/bench_*; do
  [[ -x "$bench" && -f "$bench" ]] || continue
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
echo "== posix_host_iniread"
python3 bench/posix_host_iniread.py --velkora "$build/src/hosts/posix/velkora"
if ((wine)); then
  scripts/install-deps.sh --windows
  echo "== wine_roundtrip"
  bench/wine_roundtrip.sh
  echo "== wine_startup"
  bench/wine_startup.sh
fi
