#!/usr/bin/env bash
# The demo of the Windows server: builds velkora.exe, registers it in a
# private Wine prefix, runs a VBScript (by default examples/demo.vbs) through
# Wine's cscript: examples/demo.vbs, with logging switched on. Prints the
# script's output, the server's log and its settings file. (scripts/demo-posix.sh
# is the demo of the POSIX host.)
#
#   scripts/run-demo.sh [--no-build]
#
# Everything lives in build/wine-demo: a Wine prefix made once (remade when
# the Wine version changes) is copied fresh for every run, so each run starts
# unregistered and with no settings. The server sits in C:\velkora-demo\ of
# that prefix with its velkora.ini and velkora.log. The processes of the run
# are ended when it ends, also on Ctrl-C.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=1
case ${1:-} in
  --no-build) build=0 ;;
  '') ;;
  *) echo "usage: $0 [--no-build]" >&2; exit 64 ;;
esac

"$root/scripts/install-deps.sh" --windows
if ((build)); then
  "$root/scripts/build-windows.sh" --target velkora
fi
exe=$root/build/mingw64/src/hosts/win32/velkora.exe
[[ -f $exe ]] || { echo "no $exe: run scripts/build-windows.sh" >&2; exit 1; }

work=$root/build/wine-demo
cache=$work/prefix-cache
run=$work/run
export WINEDEBUG=-all
# No .NET or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset WINESERVER
# The demo's windows (Notepad, which it lists and closes) live on a private
# virtual display, so nothing pops up on the user's screen. The demo shows no
# box (one would wait there for a click that never comes).
unset DISPLAY WAYLAND_DISPLAY
xvfb_pid=
start_xvfb() {
  local n i
  for n in $(seq 151 200); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.out" 2>&1 &
    xvfb_pid=$!
    for i in $(seq 1 50); do
      [[ -e /tmp/.X11-unix/X$n ]] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

# A run that was killed outright leaves its wineserver (and whatever Windows
# processes still ran) behind; end them before the prefix is replaced.
if [[ -d $run/prefix ]]; then
  WINEPREFIX=$run/prefix wineserver -k 2>/dev/null || true
fi
rm -rf "$run"
mkdir -p "$run"

stamp=$(wine --version)
if [[ ! -f $cache/.demo-ready || "$(cat "$cache/.demo-ready")" != "$stamp" ]]; then
  echo "== making the Wine prefix ($stamp, about 15 s, once)"
  rm -rf "$cache"
  (export WINEPREFIX=$cache; wine wineboot --init >"$work/wineboot.out" 2>&1 && wineserver -w) || {
    echo "wineboot --init failed; see $work/wineboot.out" >&2; exit 1; }
  printf '%s\n' "$stamp" >"$cache/.demo-ready"
fi
cp -a "$cache" "$run/prefix"
export WINEPREFIX=$run/prefix

# Wine's server quits when its last Windows process ends, and a program that
# starts in that moment fails; one persistent wineserver serves the whole run.
wineserver_started=0
wine_job=
stop_run() {
  stop_wine
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  fi
}
stop_wine() {
  if [[ -n $wine_job ]] && kill -0 "$wine_job" 2>/dev/null; then
    kill "$wine_job" 2>/dev/null || true
  fi
  if ((wineserver_started)); then
    wineserver -k 2>/dev/null || true
    wineserver_started=0
  fi
}
trap stop_run EXIT
trap 'exit 130' INT TERM
start_xvfb
wineserver -p
wineserver_started=1

# True while a velkora.exe of this prefix runs. (Ended processes may linger
# as zombies here, so the state in /proc decides, not their presence.)
server_running() {
  local dir stat
  for dir in /proc/[0-9]*; do
    { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    { tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null | grep -qiF 'velkora.exe' || continue
    stat=$(cat "$dir/stat" 2>/dev/null) || continue
    stat=${stat##*) }
    [[ ${stat:0:1} == [ZX] ]] || return 0
  done
  return 1
}

app=$WINEPREFIX/drive_c/velkora-demo
mkdir -p "$app"
cp "$exe" "$app/velkora.exe"
cp "$root/examples/demo.vbs" "$app/demo.vbs"

# run_in_app <seconds> <out file> <err file> <wine arguments...>: runs a
# Windows program from the server's folder with a time limit. It runs as a
# job the shell waits for, so that Ctrl-C reaches the trap at once (timeout
# keeps its program out of the terminal's reach).
run_in_app() {
  local limit=$1 out=$2 err=$3
  shift 3
  (cd "$app" && exec env ${DEMO_LOCALE:+LC_ALL=$DEMO_LOCALE} timeout -k 5 "$limit" wine "$@" >"$out" 2>"$err") &
  wine_job=$!
  local status=0
  wait "$wine_job" || status=$?
  wine_job=
  return "$status"
}

# Output of Wine programs always goes to files: Wine's service processes,
# started with the first program, inherit its handles and would hold a pipe
# open long after the program ended.
status=0
run_in_app 60 "$run/regserver.out" "$run/regserver.err" 'C:\velkora-demo\velkora.exe' /RegServer ||
  status=$?
if ((status != 0)); then
  echo "velkora.exe /RegServer failed (exit code $status):" >&2
  cat "$run/regserver.out" "$run/regserver.err" >&2
  exit 1
fi
echo "== velkora.exe registered as ScriptFunctions.App in $WINEPREFIX"

# Settings and log belong beside the exe; start with logging on, no log, and
# the sample tariffs kept in the settings file (examples/lcr/einstellungen).
rm -f "$app/velkora.log"
{ printf '[Fenster]\r\nSchreibeLog=1\r\n'; cat "$root/examples/lcr/einstellungen/velkora.ini"; } \
  >"$app/velkora.ini"

# The sample tariffs are written for German settings (dates, decimal comma):
# Wine takes the user's locale from LC_ALL (handed to Wine alone: the shell
# itself need not have the locale installed).
status=0
DEMO_LOCALE=de_DE.UTF-8 run_in_app 120 "$run/demo.out" "$run/demo.err" cscript //nologo demo.vbs ||
  status=$?

# The server ends by itself shortly after the script released its object;
# its last log lines are written then.
for _ in $(seq 1 100); do
  server_running || break
  sleep 0.1
done

# cscript writes code page 437; log and settings are in code page 1252.
echo
echo "== output of cscript //nologo demo.vbs (examples/demo.vbs)"
iconv -f CP437 -t UTF-8 "$run/demo.out" | tr -d '\r'
if [[ -s $run/demo.err ]]; then
  echo "-- standard error"
  iconv -f CP437 -t UTF-8 "$run/demo.err" | tr -d '\r'
fi
echo
echo "== log $app/velkora.log"
if [[ -f $app/velkora.log ]]; then
  iconv -f CP1252 -t UTF-8 "$app/velkora.log" | tr -d '\r'
else
  echo "(no log)"
fi
if [[ -f $app/demo.ini ]]; then
  echo
  echo "== INI file $app/demo.ini"
  iconv -f CP1252 -t UTF-8 "$app/demo.ini" | tr -d '\r'
fi
echo
echo "== settings file $app/velkora.ini"
iconv -f CP1252 -t UTF-8 "$app/velkora.ini" | tr -d '\r'

# Wine's cscript ends with 0 even when the script stopped on an error, so the
# script's last line tells whether it ran through.
if ((status != 0)); then
  echo "cscript ended with exit code $status" >&2
  exit 1
fi
if ! tr -d '\r' <"$run/demo.out" | grep -qx 'Demo beendet.'; then
  echo "the script did not run to its end (a script error stops Wine's cscript silently)" >&2
  exit 1
fi
