# Shell helpers for the end-to-end runs under Wine. Sourced by run.sh.
#
# One run owns: a private Wine prefix (copied from a cached, freshly booted
# one), one persistent wineserver, one Xvfb display and one box watcher. Every
# process the run starts is stopped by its PID at the end (e2e_teardown).
#
# Traps this works around (each one costs hours when forgotten):
# - Wine's cscript exits 0 without a word on a script error, so a script only
#   passes with its end marker AND a matching exit code.
# - Wine programs' output is never read through a pipe: the service processes
#   started with the first program inherit its handles and keep a pipe open.
# - wineserver quits when the last Windows process ends; a client that starts
#   in that moment fails, so one "wineserver -p" lives for the whole run.
# - Without a display MessageBox returns at once instead of blocking.
# - PID 1 of the container does not reap: ended processes linger as zombies,
#   so liveness is read from /proc/<pid>/stat, not from ps.

E2E_PASSED=0
E2E_FAILED=0
E2E_FAILED_NAMES=()
E2E_XVFB_PID=
E2E_WATCHER_PID=
E2E_STARTED_PIDS=()

e2e_log() { printf '%s\n' "$*" >&2; }

# e2e_setup <work dir>: makes the run's prefix, display, wineserver, watcher.
e2e_setup() {
  E2E_WORK=$1
  E2E_SRC=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  local cache=$E2E_WORK/prefix-cache
  e2e_stop_stale_run
  rm -rf "$E2E_WORK/run"
  mkdir -p "$E2E_WORK/run"
  E2E_RUN=$E2E_WORK/run

  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  unset WINESERVER

  local stamp
  stamp=$(wine --version 2>/dev/null)
  if [[ ! -f $cache/.e2e-ready || "$(cat "$cache/.e2e-ready")" != "$stamp" ]]; then
    e2e_log "making the cached Wine prefix ($stamp)"
    rm -rf "$cache"
    (export WINEPREFIX=$cache; unset DISPLAY
     wine wineboot --init >"$E2E_WORK/wineboot.out" 2>&1 && wineserver -w) || {
      e2e_log "wineboot --init failed; see $E2E_WORK/wineboot.out"; return 1; }
    printf '%s\n' "$stamp" >"$cache/.e2e-ready"
  fi
  cp -a "$cache" "$E2E_RUN/prefix"
  export WINEPREFIX=$E2E_RUN/prefix
  E2E_DRIVE_C=$WINEPREFIX/drive_c

  e2e_start_xvfb || return 1
  echo "xvfb $E2E_XVFB_PID" >>"$E2E_RUN/pids"
  wineserver -p || { e2e_log "wineserver -p failed"; return 1; }
  echo "wineserver -" >>"$E2E_RUN/pids"
  # The first program of a fresh wineserver also starts Wine's services; let
  # that happen here, with output going to a file.
  wine cmd /c exit 0 >"$E2E_RUN/warmup.out" 2>&1

  e2e_build_watcher || return 1
  E2E_BOXLOG=$E2E_RUN/boxes.log
  E2E_ANSWER=$E2E_RUN/box-answer.txt
  E2E_STOPFILE=$E2E_RUN/watcher.stop
  : >"$E2E_BOXLOG"
  echo ok >"$E2E_ANSWER"
  e2e_start_watcher
  # Scripts read these through WScript.Shell's environment.
  export E2E_BOXLOG_WIN
  E2E_BOXLOG_WIN=$(e2e_winpath "$E2E_BOXLOG")
}

e2e_start_watcher() {
  rm -f "$E2E_STOPFILE"
  (cd "$E2E_RUN" && exec wine box_watcher.exe watch boxes.log --delay="${E2E_BOX_DELAY_MS:-1000}" \
     --answer-file=box-answer.txt --stop-file=watcher.stop >>watcher.out 2>&1) &
  E2E_WATCHER_PID=$!
}

# e2e_fresh_session: ends every Windows process of the run's prefix and
# starts a new wineserver (and box watcher) in the same prefix. A server
# that was killed leaves its class object registered with the session's
# services, and every later CreateObject fails with 429 ("ActiveX
# component can't create object") until the session ends; a suite that
# follows such a test starts with this.
e2e_fresh_session() {
  if [[ -n $E2E_WATCHER_PID ]]; then
    : >"$E2E_STOPFILE"
    e2e_wait_pid_end "$E2E_WATCHER_PID" 30 || e2e_kill_pid "$E2E_WATCHER_PID"
  fi
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  wineserver -p || { e2e_log "wineserver -p failed"; return 1; }
  wine cmd /c exit 0 >>"$E2E_RUN/warmup.out" 2>&1
  e2e_start_watcher
}

# A run that was killed outright (no trap ran) leaves its wineserver, its
# Windows processes and its Xvfb behind; the PIDs it noted end them here.
e2e_stop_stale_run() {
  local pids=$E2E_WORK/run/pids
  [[ -f $pids ]] || return 0
  local kind pid
  while read -r kind pid; do
    case $kind in
      wineserver)
        # Ends every Windows process of the old prefix, and its wineserver.
        [[ -d $E2E_WORK/run/prefix ]] && WINEPREFIX=$E2E_WORK/run/prefix wineserver -k 2>/dev/null ;;
      xvfb)
        tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -q '^Xvfb ' && e2e_kill_pid "$pid" ;;
    esac
  done <"$pids"
  rm -f "$pids"
}

e2e_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$E2E_WORK/xvfb.out" 2>&1 &
    E2E_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [[ -e /tmp/.X11-unix/X$n ]] && { export DISPLAY=":$n"; return 0; }
      e2e_pid_alive "$E2E_XVFB_PID" || break
      sleep 0.1
    done
    e2e_kill_pid "$E2E_XVFB_PID"
    E2E_XVFB_PID=
  done
  e2e_log "no free X display for Xvfb"
  return 1
}

# e2e_build_helper <source> <exe name> [libraries...]: cross-builds a test
# helper program (with -luser32 when no libraries are named) into the work
# folder, again when its source or the shared header changed, and copies it
# into the run folder.
e2e_build_helper() {
  local src=$1 name=$2 out=$E2E_WORK/$2
  shift 2
  (($#)) || set -- -luser32
  if [[ ! -f $out || $src -nt $out || $E2E_SRC/wide_text.h -nt $out ]]; then
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Werror -static -static-libgcc \
      -static-libstdc++ -o "$out" "$src" "$@" || { e2e_log "building $name failed"; return 1; }
  fi
  cp "$out" "$E2E_RUN/$name"
}

e2e_build_watcher() { e2e_build_helper "$E2E_SRC/box_watcher.cpp" box_watcher.exe; }

e2e_teardown() {
  local pid
  for pid in "${E2E_STARTED_PIDS[@]}"; do e2e_kill_pid "$pid"; done
  if [[ -n $E2E_WATCHER_PID ]]; then
    : >"$E2E_STOPFILE"
    e2e_wait_pid_end "$E2E_WATCHER_PID" 30 || e2e_kill_pid "$E2E_WATCHER_PID"
    E2E_WATCHER_PID=
  fi
  [[ -n ${WINEPREFIX:-} ]] && wineserver -k 2>/dev/null
  if [[ -n $E2E_XVFB_PID ]]; then e2e_kill_pid "$E2E_XVFB_PID"; E2E_XVFB_PID=; fi
  rm -f "${E2E_RUN:-/nonexistent}/pids"
}

# --- processes ------------------------------------------------------------

# True while the process exists and is not a zombie.
e2e_pid_alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat:0:1} != Z && ${stat:0:1} != X ]]
}

# e2e_wait_pid_end <pid> <tenths of a second>
e2e_wait_pid_end() {
  local i
  for ((i = 0; i < $2; i++)); do
    e2e_pid_alive "$1" || return 0
    sleep 0.1
  done
  ! e2e_pid_alive "$1"
}

e2e_kill_pid() {
  e2e_pid_alive "$1" || return 0
  kill "$1" 2>/dev/null
  e2e_wait_pid_end "$1" 30 || kill -9 "$1" 2>/dev/null
}

# PIDs of live Windows processes of this run's prefix whose command line
# contains the given text (case-insensitive).
e2e_wine_pids() {
  local dir pid
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    [[ -r $dir/environ ]] || continue
    { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    { tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null | grep -qiF -- "$1" || continue
    e2e_pid_alive "$pid" && echo "$pid"
  done
}

# e2e_wait_no_process <text> <tenths>: waits until no such process is alive.
e2e_wait_no_process() {
  local i
  for ((i = 0; i < $2; i++)); do
    [[ -z $(e2e_wine_pids "$1") ]] && return 0
    sleep 0.1
  done
  [[ -z $(e2e_wine_pids "$1") ]]
}

# e2e_start_bg <dir> <out file> <wine args...>: starts a Windows program in
# the background from <dir>; its PID lands in E2E_LAST_PID and is stopped by
# the teardown if it still runs then.
e2e_start_bg() {
  local dir=$1 out=$2
  shift 2
  (cd "$dir" && exec wine "$@" >"$out" 2>&1) &
  E2E_LAST_PID=$!
  E2E_STARTED_PIDS+=("$E2E_LAST_PID")
}

# e2e_timed <dir> <seconds> <command...>: runs the command from <dir> with a
# time limit and returns its exit code (124 on timeout). It runs as a
# background job that the shell waits for with "wait", so that an interrupt
# reaches the run's trap at once instead of after the command.
e2e_timed() {
  local dir=$1 limit=$2
  shift 2
  (cd "$dir" && exec timeout -k 5 "$limit" "$@") &
  wait $!
}

# --- registry and paths -----------------------------------------------------

e2e_winpath() { winepath -w "$1" 2>/dev/null; }

# e2e_reg_value <key> [value name]: prints the value's data (the default value
# without a name); status 1 when the key or value is missing.
e2e_reg_value() {
  local out=$E2E_RUN/reg.out args=(query "$1")
  if [[ -n ${2:-} ]]; then args+=(/v "$2"); else args+=(/ve); fi
  wine reg "${args[@]}" >"$out" 2>&1 || return 1
  local line
  line=$(tr -d '\r' <"$out" | grep -E '^ +.+ +REG_[A-Z_]+( |$)' | head -n 1) || return 1
  [[ -n $line ]] || return 1
  printf '%s\n' "$line" | sed -E 's/^ +.*REG_[A-Z_]+ {0,4}//'
}

e2e_reg_key_exists() { wine reg query "$1" >"$E2E_RUN/reg.out" 2>&1; }

# --- checks and script runs ---------------------------------------------------

E2E_CURRENT=
E2E_CURRENT_FAILS=0

e2e_begin() { E2E_CURRENT=$1; E2E_CURRENT_FAILS=0; }

e2e_check() {
  local what=$1
  shift
  if "$@"; then return 0; fi
  e2e_log "    check failed: $what"
  E2E_CURRENT_FAILS=$((E2E_CURRENT_FAILS + 1))
  return 1
}

e2e_end() {
  if ((E2E_CURRENT_FAILS == 0)); then
    echo "PASS $E2E_CURRENT"
    E2E_PASSED=$((E2E_PASSED + 1))
  else
    echo "FAIL $E2E_CURRENT ($E2E_CURRENT_FAILS failed checks)"
    E2E_FAILED=$((E2E_FAILED + 1))
    E2E_FAILED_NAMES+=("$E2E_CURRENT")
  fi
}

# e2e_cscript <script path> [timeout seconds] [folder]: copies the script
# with its language's prelude into the run folder (or the given one, which
# must lie on a drive of the prefix), runs it with cscript from there by its
# relative name, and checks end marker and exit code. Output lands in
# <run>/<script name>.out (arguments.vbs.out); status 0 only when the script passed.
# With E2E_CSCRIPT_LOCALE set (de_DE.UTF-8), cscript and the server it
# starts run under that locale (LC_ALL; the locale need not be installed).
e2e_cscript() {
  local script=$1 limit=${2:-90} folder=${3:-$E2E_RUN}
  local name ext
  name=$(basename "$script")
  ext=${name##*.}
  cat "$E2E_SRC/prelude.$ext" "$script" >"$folder/$name"
  local out=$E2E_RUN/$name.out status=0
  local locale=()
  [[ -n ${E2E_CSCRIPT_LOCALE:-} ]] && locale=(env "LC_ALL=$E2E_CSCRIPT_LOCALE")
  e2e_timed "$folder" "$limit" "${locale[@]}" wine cscript //nologo "$name" >"$out" 2>"$out.err" || status=$?
  local marker
  marker=$(tr -d '\r' <"$out" | grep -aE '^E2E-END failures=[0-9]+$' | tail -n 1)
  if [[ -z $marker ]]; then
    e2e_log "    $name: no end marker (exit code $status; script error or timeout)"
    sed 's/^/      | /' "$out" >&2
    return 1
  fi
  local failures=${marker#E2E-END failures=}
  if [[ $failures != 0 || $status != 0 ]]; then
    e2e_log "    $name: $failures failed checks, exit code $status"
    tr -d '\r' <"$out" | grep -aE '^(FAIL|INFO)' | sed 's/^/      | /' >&2
    return 1
  fi
  return 0
}

# Box log helpers: the watcher writes "caption<TAB>text<TAB>button" lines.
e2e_box_count() { wc -l <"$E2E_BOXLOG"; }
e2e_boxes_since() { tail -n +"$(($1 + 1))" "$E2E_BOXLOG"; }

e2e_summary() {
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  if ((E2E_FAILED > 0)); then
    printf '  failed: %s\n' "${E2E_FAILED_NAMES[@]}"
    return 1
  fi
}
