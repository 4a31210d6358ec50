#!/usr/bin/env bash
# The demo of the POSIX host: builds the velkora program for Linux and runs
# it on a call script (by default examples/demo.calls) in a temporary folder
# with logging switched on, German formats and the sample tariffs of
# examples/lcr/einstellungen, then shows each call with its answer, the message
# boxes, the settings file and the log. (scripts/run-demo.sh is the demo of
# the Windows server under Wine.)
#
#   scripts/demo-posix.sh [CALLS-FILE] [VELKORA-OPTION]...
#
# Environment: VELKORA_PRESET (default release) picks the configure preset;
# the build goes to build/demo-<preset> with tests and benchmarks off, so it
# never disturbs the preset's own build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
calls=$(realpath "${1:-$root/examples/demo.calls}")
shift $(($# > 0 ? 1 : 0))
preset=${VELKORA_PRESET:-release}
build=$root/build/demo-$preset

"$root/scripts/install-deps.sh"
cd "$root"
cmake --preset "$preset" -B "$build" -DVELKORA_BUILD_TESTS=OFF -DVELKORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target velkora -j "$(nproc)"
velkora=$build/src/hosts/posix/velkora

work=$(mktemp -d "${TMPDIR:-/tmp}/velkora-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/run"
# Logging on, and the sample tariffs kept in the settings file
# (examples/lcr/einstellungen, written for German formats) for the
# least-cost-routing calls.
{ printf '[Fenster]\nSchreibeLog=1\n'; cat "$root/examples/lcr/einstellungen/velkora.ini"; } \
  >"$work/config/velkora.ini"

# Comments and blank lines get no answer; leave them out so that every
# call can be shown beside its answer.
grep -Ev "^[[:space:]]*(\$|'|#)" "$calls" >"$work/calls" || true

# The demo has a lock folder of its own, so it runs even while another
# velkora of this user is running.
status=0
(cd "$work" && XDG_RUNTIME_DIR=$work/run "$velkora" --config-dir "$work/config" \
    --state-dir "$work/state" --locale de "$@" <"$work/calls" >"$work/answers" 2>"$work/boxes") || status=$?

echo "== calls and answers ($calls)"
paste -d '\n' <(sed 's/^/> /' "$work/calls") "$work/answers"
echo
echo "== message boxes (standard error)"
cat "$work/boxes"
echo
echo "== settings file $work/config/velkora.ini"
cat "$work/config/velkora.ini"
echo
if [[ -f $work/config/demo.ini ]]; then
  echo "== INI file $work/config/demo.ini"
  cat "$work/config/demo.ini"
  echo
fi
echo "== log $work/state/velkora.log"
cat "$work/state/velkora.log" 2>/dev/null || echo "(no log)"
echo
echo "== exit code $status"
exit "$status"
