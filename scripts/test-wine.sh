#!/usr/bin/env bash
# Builds the Windows server and runs the end-to-end tests under Wine: the
# harness's smoke tests, then the VBScript and JScript suites against
# velkora.exe in a private Wine prefix. Exit code non-zero on any failure.
#
#   scripts/test-wine.sh [--no-build] [--exe <velkora.exe>]
set -uo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
build=1
exe=
while (($#)); do
  case $1 in
    --no-build) build=0; shift ;;
    --exe) exe=$2; shift 2 ;;
    *) echo "usage: $0 [--no-build] [--exe <velkora.exe>]" >&2; exit 64 ;;
  esac
done

scripts/install-deps.sh --windows || exit 1

if [[ -z $exe ]]; then
  if ((build)); then
    if [[ ! -x scripts/build-windows.sh ]]; then
      echo "scripts/build-windows.sh is missing: cannot build velkora.exe" >&2
      exit 1
    fi
    echo "== building the Windows server"
    scripts/build-windows.sh || { echo "FAIL the Windows build"; exit 1; }
  fi
  exe=$(find build/mingw64 -path '*/drive_c' -prune -o -name velkora.exe -type f -printf '%T@ %p\n' 2>/dev/null | sort -rn | head -n 1 | cut -d' ' -f2-)
  if [[ -z $exe ]]; then
    echo "FAIL no velkora.exe below build/mingw64" >&2
    exit 1
  fi
fi

echo "== end-to-end tests under Wine ($exe)"
tests/e2e/wine/run.sh --exe "$exe"
status=$?
echo "test-wine.sh: total $((SECONDS - started)) s"
exit $status
