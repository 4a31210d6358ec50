#!/usr/bin/env bash
# Builds and runs every test suite: the unit tests natively and under the
# sanitizers, and a bounded run of the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
for preset in dev asan; do
  echo "== unit tests ($preset)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "== fuzz targets (bounded)"
scripts/fuzz.sh 30
