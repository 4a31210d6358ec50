#!/bin/sh
# Runs a Windows program under Wine in a private prefix:
#   wine-run.sh <prefix-dir> <program.exe> [args...]
# The prefix is created on first use (serialised with flock, so parallel test
# runs create it once). The program's output goes through a file rather than
# straight to our stdout: Wine's service processes inherit the standard
# handles of the first program of a wineserver and would keep a pipe open
# long after the program ended. Carriage returns are dropped so that callers
# parsing the output (test discovery) see plain lines.
#
# A wineserver ends three seconds after its last program; a program that
# connects while it is closing fails with "wine client error ... Connection
# reset by peer" before it runs. So the first call starts the prefix's server
# with a longer linger, which every later call within it finds running
# (wineserver then exits 2 and leaves it alone); it ends by itself 30 s after
# the last program.
set -u
prefix=$1
shift
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  flock "$prefix.lock" sh -c '
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot --init >/dev/null 2>&1
      wineserver -w
    fi'
fi

keep_server() { wineserver -p30 </dev/null >/dev/null 2>&1; }
keep_server

out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
err=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$out" "$err"' EXIT
wine "$@" >"$out" 2>"$err" </dev/null
rc=$?
# A program that met a closing server never ran: it printed nothing but the
# client error. Give that server a second to be gone, then run it once more.
if [ $rc -ne 0 ] && [ ! -s "$out" ] && grep -q '^wine client error' "$err"; then
  sleep 1
  keep_server
  wine "$@" >"$out" 2>"$err" </dev/null
  rc=$?
fi
tr -d '\r' <"$out"
tr -d '\r' <"$err" >&2
exit $rc
