#!/usr/bin/env bash
# Runs the end-to-end tests under Wine: first the harness's own smoke tests
# (message boxes, windows, WMI), then, given a server executable, the suites
# against it. Prints PASS/FAIL per test and "N passed, N failed"; the exit
# code is non-zero when anything failed.
#
#   tests/e2e/wine/run.sh [--exe <velkora.exe> | --find-exe <dir>] [--work <dir>] [--no-smoke]
#                         [--only <suite>]...
#
# --only runs only the named suites of server, lcr, window, load, referenz and
# boundary; the server is installed and registered for them either way.
#
# --find-exe takes the newest velkora.exe below <dir> (a build tree) and
# fails when there is none. --work defaults to build/wine-e2e; the cached Wine
# prefix lives there.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
exe=
work=$root/build/wine-e2e
smoke=1
only=()
while (($#)); do
  case $1 in
    --exe) exe=$(realpath "$2"); shift 2 ;;
    --find-exe)
      exe=$(find "$2" -path '*/drive_c' -prune -o -name velkora.exe -type f -printf '%T@ %p\n' 2>/dev/null | sort -rn | head -n 1 | cut -d' ' -f2-)
      [[ -n $exe ]] || { echo "FAIL no velkora.exe below $2"; exit 1; }
      shift 2 ;;
    --work) work=$(realpath -m "$2"); shift 2 ;;
    --no-smoke) smoke=0; shift ;;
    --only) only+=("$2"); shift 2 ;;
    *) echo "usage: $0 [--exe <velkora.exe> | --find-exe <dir>] [--work <dir>] [--no-smoke] [--only <suite>]..." >&2
       exit 64 ;;
  esac
done

# shellcheck source=lib.sh
source "$here/lib.sh"
mkdir -p "$work"
trap 'e2e_teardown' EXIT
trap 'exit 130' INT TERM

started=$SECONDS
if ! e2e_setup "$work"; then
  echo "FAIL harness setup"
  exit 1
fi
echo "Wine e2e: prefix ready, DISPLAY=$DISPLAY ($((SECONDS - started)) s)"

if ((smoke)); then
  source "$here/smoke/smoke.sh"
  e2e_smoke_suite
fi
wanted() { ((${#only[@]} == 0)) || [[ " ${only[*]} " == *" $1 "* ]]; }
if [[ -n $exe ]]; then
  source "$here/server/server.sh"
  if wanted server; then
    e2e_server_suite "$exe"
  else
    velkora_install "$exe"
    velkora_run regserver /RegServer || { echo "FAIL velkora.exe /RegServer"; exit 1; }
  fi
  if wanted lcr; then
    source "$here/lcr/lcr.sh"
    e2e_lcr_suite
  fi
  if wanted window; then
    source "$here/window/window.sh"
    e2e_window_suite
  fi
  if wanted load; then
    source "$here/load/load.sh"
    e2e_load_suite
  fi
  if wanted referenz; then
    source "$here/referenz/referenz.sh"
    e2e_referenz_suite
  fi
  if wanted boundary; then
    source "$here/boundary/boundary.sh"
    e2e_boundary_suite
  fi
fi

echo "Wine e2e took $((SECONDS - started)) s"
e2e_summary
