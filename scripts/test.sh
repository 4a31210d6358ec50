#!/usr/bin/env bash
# Builds and runs the test suites, installing what is missing first.
#
#   scripts/test.sh          everything, what CI runs:
#     1. unit tests natively (preset dev) and under AddressSanitizer and
#        UndefinedBehaviorSanitizer (preset asan);
#     2. the POSIX host's end-to-end tests;
#     3. a bounded run of the fuzz targets;
#     4. the Windows cross build: its unit tests under Wine, then the
#        end-to-end suite of VBScript and JScript clients against velkora.exe.
#   scripts/test.sh quick    while developing, a minute or two: the native
#                            unit tests and the POSIX host's end-to-end tests
#
# Exits non-zero as soon as a stage fails.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
stage() { printf '\n== %s (%d s)\n' "$1" $((SECONDS - started)); }

mode=${1:-all}
case $mode in
  all | quick) ;;
  *) echo "usage: scripts/test.sh [quick]" >&2; exit 2 ;;
esac

jobs=$(nproc)
if [[ $mode == quick ]]; then
  scripts/install-deps.sh
  stage "unit tests (dev)"
  cmake --preset dev >/dev/null
  cmake --build --preset dev -j "$jobs"
  ctest --preset dev -j "$jobs"
  stage "POSIX host end-to-end tests"
  ctest --test-dir build/dev -L e2e -E '^wine_e2e$' --output-on-failure -j "$jobs"
  stage "quick suites passed"
  exit 0
fi

scripts/install-deps.sh --windows

for preset in dev asan; do
  stage "unit tests ($preset)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

stage "POSIX host end-to-end tests"
ctest --test-dir build/dev -L e2e -E '^wine_e2e$' --output-on-failure -j "$jobs"

stage "fuzz targets (bounded)"
scripts/fuzz.sh 20

stage "Windows cross build"
scripts/build-windows.sh -j "$jobs"

stage "Windows unit tests under Wine"
ctest --preset mingw64 -j "$jobs"

stage "end-to-end suite under Wine"
ctest --test-dir build/mingw64 -L e2e --verbose

stage "all suites passed"
