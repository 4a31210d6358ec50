#!/usr/bin/env bash
# End-to-end cases of the velkora program, driven through standard input.
#
#   host_e2e.sh VELKORA CASE
#
# Each case runs in its own temporary folder: settings, log and the
# single-instance lock (XDG_RUNTIME_DIR) live there, so cases can run in
# parallel and never meet a velkora the user has running. Only processes
# started here are stopped, by their PID.
set -uo pipefail

velkora=$1
case_name=$2

tmp=$(mktemp -d "${TMPDIR:-/tmp}/velkora-e2e.XXXXXX")
background_pids=()
cleanup() {
  for pid in "${background_pids[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$tmp"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
config=$tmp/config
state=$tmp/state
ini=$config/velkora.ini
log=$state/velkora.log

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_eq() {  # what expected actual
  if [[ "$2" != "$3" ]]; then
    fail "$1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed 's/^/    /' >&2
  fi
}

expect_contains() {  # what needle haystack
  [[ "$3" == *"$2"* ]] || fail "$1: '$2' not in: $3"
}

# velkora with the case's folders and German formats; extra arguments follow.
run() {
  "$velkora" --locale de --config-dir "$config" --state-dir "$state" "$@"
}

preset_logging() {
  mkdir -p "$config"
  printf '[Fenster]\r\nSchreibeLog=1\r\n' >"$ini"
}

# The log without its timestamps ("07.12.2026 09:15:02 ").
log_texts() {
  tr -d '\r' <"$log" | sed -E 's/^[0-9]{2}\.[0-9]{2}\.[0-9]{4}( [0-9]{2}:[0-9]{2}:[0-9]{2})? //'
}

# Path, size, time and content digest of every file below the case folder
# except the lock folder.
snapshot() {
  find "$tmp" -path "$XDG_RUNTIME_DIR" -prune -o -type f -printf '%p %s %T@\n' | sort
  find "$tmp" -path "$XDG_RUNTIME_DIR" -prune -o -type f -exec md5sum {} + | sort
}

wait_for_line() {  # file text: up to 5 s
  for _ in $(seq 50); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

case_version_and_log() {
  preset_logging
  local out
  out=$(printf 'VelkoraVersion()\n' | run 'a b' -x)
  expect_eq "rc" 0 "$?"
  expect_eq "answer" "010103" "$out"
  local exe
  exe=$(readlink -f "$velkora")
  expect_eq "log lines" "Start Velkora Version 1.1.3
Kommandozeileninformation
 Anzahl Parameter: 2
 Nummmer:0 Wert:<$exe>
 Nummmer:1 Wert:<a b>
 Nummmer:2 Wert:<-x>
Application.Initialize
Application.CreateForm
Application.Run
VelkoraVersion()
 --> \"010103\"
Programmende" "$(log_texts)"
  grep -qE '^[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} Start Velkora' "$log" ||
    fail "timestamp is not in German short date and long time: $(head -1 "$log")"
  expect_contains "settings" "SchreibeLog=1" "$(cat "$ini")"
  expect_contains "settings" "Testmodus=0" "$(cat "$ini")"
  expect_contains "settings" "Unsichtbar=0" "$(cat "$ini")"

  # The next run with logging on starts a fresh log.
  printf 'VelkoraVersion()\n' | run >/dev/null
  expect_eq "fresh log: one start" 1 "$(grep -c 'Start Velkora' "$log")"
  expect_eq "fresh log: no parameters" " Anzahl Parameter: 0" "$(log_texts | sed -n 3p)"
}

case_logging_off() {
  mkdir -p "$state"
  echo "old run" >"$log"
  local out
  out=$(printf 'VelkoraVersion\n' | run)
  expect_eq "rc" 0 "$?"
  expect_eq "answer" "010103" "$out"
  expect_eq "old log untouched" "old run" "$(cat "$log")"
  expect_eq "settings written back" "[Fenster]
Testmodus=0
Unsichtbar=0
SchreibeLog=0" "$(grep -E '^\[|^(Testmodus|Unsichtbar|SchreibeLog)=' "$ini" | tr -d '\r')"
}

case_call_forms() {
  preset_logging
  run >"$tmp/out" <<'EOF'
' comments and blank lines get no answer
# neither does this

VELKORAVERSION
velkoraversion()
  Call VelkoraVersion()   ' trailing comment
VelkoraVersion(1)
NoSuchMethod "x"
IniRead("a", "b", "c")
IniRead(
VelkoraIniname
ShowInfo
EOF
  expect_eq "rc" 0 "$?"
  # The last answer, ShowInfo's empty result, is an empty line.
  expect_eq "answer lines" 9 "$(wc -l <"$tmp/out")"
  expect_eq "answers" "010103
010103
010103
Fehler 0x8002000E: Ungültige Anzahl Parameter.
Fehler 0x80020006: Unbekannter Name.
Fehler 0x8002000E: Ungültige Anzahl Parameter.
Syntaxfehler in Spalte 9: expected an argument
$config/velkora.ini" "$(cat "$tmp/out")"
  # Refused calls never reach the server, so they are not logged.
  expect_eq "logged calls" "VelkoraVersion()
 --> \"010103\"
VelkoraVersion()
 --> \"010103\"
VelkoraVersion()
 --> \"010103\"
VelkoraIniname()
 --> \"$config/velkora.ini\"
ShowInfo()
Programmende" "$(log_texts | sed '1,/^Application.Run$/d')"
}

case_windows_call_file() {
  # A call script from a Windows editor: byte-order mark and CRLF line ends.
  local out
  out=$(printf '\xef\xbb\xbfVelkoraVersion()\r\n\r\nvelkoraversion\r\n' | run)
  expect_eq "answers" "010103
010103" "$out"
}

case_message_box_on_stderr() {
  local out err
  out=$(printf 'ShowInfo\nVelkoraVersion\n' | run 2>"$tmp/err")
  expect_eq "answers" "
010103" "$out"
  err=$(cat "$tmp/err")
  [[ "$err" == "[Info] "* ]] || fail "box not on stderr as [caption] text: $err"
}

case_json_refusals() {
  preset_logging
  local out
  out=$(run --json <<'EOF'
VelkoraVersion()
WndGetList(Array(1, 2), ";")
WndGetList(ByRef(Array()), ";")
IniReadSections(Null, ";")
IniReadSection("f", ByRef(Null), ";")
WndGetList("*", Nothing)
VelkoraVersion(1)
nosuch
ShowInfo
IniRead(
EOF
  )
  expect_eq "rc" 0 "$?"
  local mismatch='{"error":{"source":"ScriptFunctions.App","description":"Ungültige Variant-Typumwandlung","status":-2147418113,"status_hex":"0x8000FFFF"}}'
  expect_eq "json answers" "{\"value\":\"010103\",\"type\":\"String\",\"vt\":8}
$mismatch
$mismatch
$mismatch
$mismatch
$mismatch
{\"error\":{\"source\":\"\",\"description\":\"Ungültige Anzahl Parameter.\",\"status\":-2147352562,\"status_hex\":\"0x8002000E\"}}
{\"error\":{\"source\":\"\",\"description\":\"Unbekannter Name.\",\"status\":-2147352570,\"status_hex\":\"0x80020006\"}}
{\"value\":\"\",\"type\":\"Empty\",\"vt\":0}
{\"syntax_error\":{\"column\":9,\"message\":\"expected an argument\"}}" "$out"
  # Refused arguments stop the call before anything is logged.
  expect_eq "logged calls" "VelkoraVersion()
 --> \"010103\"
ShowInfo()
Programmende" "$(log_texts | sed '1,/^Application.Run$/d')"
}

# The window functions on a system without a window list: nothing is found,
# but call lines, patterns, Alle and the log behave as everywhere.
case_window_functions() {
  preset_logging
  local out
  out=$(run 2>"$tmp/err" <<'EOF'
WindowExists("Editor")
CloseWindow("Editor")
WndGetList(".*", ";")
WndGetList("(", ";")
WndClose("^(a+)+$", "|", "1")
WndClose("x", ";", "vielleicht")
WndClose(Muster:="x", Trenner:=";", Alle:=True)
VelkoraVersion
EOF
  )
  expect_eq "answers" "0




Fehler 0x8000FFFF: Ungültige Variant-Typumwandlung

010103" "$out"
  expect_eq "error box of the pattern that does not compile" \
    "[Fehler in Velkora] Exception: Perlre: missing closing parenthesis" "$(cat "$tmp/err")"
  expect_eq "logged calls" 'WindowExists("Editor")
 Fenster existiert nicht
 --> False
CloseWindow("Editor")
 Fenster existiert nicht
WndGetList(".*",";")
 --> ""
WndGetList("(",";")
 Exception: Perlre: missing closing parenthesis
WndClose("^(a+)+$","|",True)
 --> ""
WndClose("x",";",True)
 --> ""
VelkoraVersion()
 --> "010103"
Programmende' "$(log_texts | sed '1,/^Application.Run$/d')"
}

# No dial-up networking here: no connection to name or hang up, no counter.
case_dialup_functions() {
  preset_logging
  local out
  out=$(run 2>"$tmp/err" <<'EOF'
GetRasConnection()
RasClose
GetPerfStats("Dial-Up Adapter\ConnectSpeed")
getperfstats(Key:="TotalBytesRecvd")
EOF
  )
  expect_eq "answers" "

0
0" "$out"
  expect_eq "no box" "" "$(cat "$tmp/err")"
  expect_eq "logged calls" 'GetRasConnection()
 --> ""
RasClose()
 --> ""
GetPerfStats("Dial-Up Adapter\ConnectSpeed")
 --> 0
GetPerfStats("TotalBytesRecvd")
 --> 0
Programmende' "$(log_texts | sed '1,/^Application.Run$/d')"
}

case_second_instance() {
  preset_logging
  mkfifo "$tmp/input"
  run <"$tmp/input" >"$tmp/first.out" 2>&1 &
  local first=$!
  background_pids+=("$first")
  exec 3>"$tmp/input"  # keeps the first instance's input open
  wait_for_line "$log" "Application.Run" || fail "first instance did not start"
  local before after out rc
  before=$(snapshot)
  sleep 0.05

  local start_ns=$(date +%s%N)
  out=$(timeout 5 "$velkora" --config-dir "$config" --state-dir "$state" TESTMODE <<<'VelkoraVersion()')
  rc=$?
  local elapsed_ms=$((($(date +%s%N) - start_ns) / 1000000))
  expect_eq "second instance exit code" 0 "$rc"
  expect_eq "second instance answers nothing" "" "$out"
  ((elapsed_ms < 3000)) || fail "second instance took ${elapsed_ms} ms"
  after=$(snapshot)
  expect_eq "settings and log untouched" "$before" "$after"

  # The first instance still serves calls, and ends normally at end of input.
  echo "VelkoraVersion" >&3
  exec 3>&-
  wait "$first"
  expect_eq "first instance exit code" 0 "$?"
  background_pids=()
  expect_eq "first instance answer" "010103" "$(cat "$tmp/first.out")"
  expect_eq "log ends" "Programmende" "$(log_texts | tail -1)"

  # Once the first has ended, a new instance starts.
  expect_eq "after the end" "010103" "$(printf 'VelkoraVersion\n' | run)"
}

case_started_together() {
  preset_logging
  local i
  for i in 1 2; do
    # The exit code is velkora's, not that of its input's writer, which a
    # second instance leaves with a broken pipe.
    (set +o pipefail; (sleep 0.5; printf 'VelkoraVersion\n') 2>/dev/null | run >"$tmp/out$i" 2>&1) &
    background_pids+=($!)
  done
  for i in 1 2; do
    wait "${background_pids[$((i - 1))]}"
    expect_eq "exit code $i" 0 "$?"
  done
  background_pids=()
  expect_eq "exactly one answered" "010103" "$(cat "$tmp/out1" "$tmp/out2")"
  expect_eq "one run in the log" 1 "$(grep -c 'Start Velkora' "$log")"
}

case_reader_gone() {
  preset_logging
  # head stops reading after one answer; the host must still shut down
  # normally instead of dying on the broken pipe.
  local out
  out=$(yes VelkoraVersion | run | head -n 1)
  expect_eq "first answer" "010103" "$out"
  expect_eq "log ends" "Programmende" "$(log_texts | tail -1)"
}

case_command_line() {
  local out rc
  out=$("$velkora" --help)
  expect_eq "--help rc" 0 "$?"
  expect_contains "--help" "Exit codes:" "$out"
  out=$("$velkora" --version)
  expect_eq "--version" "velkora 1.1.3" "$out"
  out=$("$velkora" --config-dir "$config" --no-such-option 2>&1 </dev/null)
  expect_eq "usage error rc" 2 "$?"
  expect_contains "usage error" "unknown option --no-such-option" "$out"
  "$velkora" --locale fr </dev/null 2>/dev/null
  expect_eq "bad locale rc" 2 "$?"
  [[ ! -e "$config" ]] || fail "a usage error created the settings folder"

  # XDG defaults when no folder is given.
  printf 'VelkoraVersion\n' | XDG_CONFIG_HOME=$tmp/xc XDG_STATE_HOME=$tmp/xs "$velkora" >/dev/null
  [[ -f "$tmp/xc/velkora/velkora.ini" ]] || fail "settings not in \$XDG_CONFIG_HOME/velkora"
  printf 'VelkoraVersion\n' | env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME=$tmp/home "$velkora" >/dev/null
  [[ -f "$tmp/home/.config/velkora/velkora.ini" ]] || fail "settings not in ~/.config/velkora"
}

case_settings_not_writable() {
  # A settings folder that cannot exist: below a plain file. The server
  # runs with the defaults it read, and neither its start nor its end
  # shows an error box.
  : >"$tmp/plain"
  local out rc
  out=$(printf 'VelkoraVersion\n' |
        "$velkora" --config-dir "$tmp/plain/sub" --state-dir "$state" 2>"$tmp/err")
  rc=$?
  expect_eq "exit code" 0 "$rc"
  expect_eq "answers" "010103" "$out"
  expect_eq "no error box" "" "$(cat "$tmp/err")"
}

case_ini_functions() {
  preset_logging
  local abs=$tmp/daten/werte.ini
  mkdir -p "$tmp/daten"
  run >"$tmp/out" 2>"$tmp/err" <<EOF
IniWrite("demo.ini", "Zahlen", "Ganz", 5)
IniWrite("demo.ini", "Zahlen", "Komma", 1.5)
IniWrite("demo.ini", "Texte", "Satz", "Hallo Welt")
IniWrite("demo.ini", "Schalter", "An", True)
IniRead("demo.ini", "zahlen", "GANZ", 0)
IniRead("demo.ini", "Zahlen", "Komma", 0.5)
IniRead("demo.ini", "Zahlen", "Ganz", ByRef(0))
IniRead("demo.ini", "Schalter", "An", False)
IniRead("demo.ini", "Texte", "Fehlt", "Vorgabe")
IniWrite("$abs", "Datum", "Heute", #2026-12-07#)
IniWrite("$abs", "Zahlen", "Riesig", CLngLng(9007199254740993))
IniReadSections("demo.ini", ";")
IniReadSections("demo.ini", "")
IniReadSection("demo.ini", "Zahlen", ",")
IniReadSectionValues("demo.ini", "Zahlen", ",")
IniDeleteKey("demo.ini", "Zahlen", "Komma")
IniReadSectionValues("demo.ini", "Zahlen", ",")
IniReadSections("$abs", ",")
IniRead("fehlt.ini", "S", "K", 7)
EOF
  expect_eq "rc" 0 "$?"
  expect_eq "answers" "



5
1,5
5
-1
Vorgabe


Zahlen;Texte;Schalter
ZahlenTexteSchalter
Ganz,Komma
Ganz=5,Komma=1,5

Ganz=5

7" "$(cat "$tmp/out")"
  # A name without a full path lies in the settings folder.
  expect_eq "file beside the settings" "[Zahlen]
Ganz=5
[Texte]
Satz=Hallo Welt
[Schalter]
An=1" "$(tr -d '\r' <"$config/demo.ini")"
  [[ ! -e "$abs" ]] || fail "a date or a 64-bit integer was written"
  expect_contains "date box" "[Fehler in Velkora] IniWrite - Datentyp (0007) unbekannt:" "$(cat "$tmp/err")"
  expect_contains "date box names the file" "Datei: $abs" "$(cat "$tmp/err")"
  expect_contains "64-bit integer box" "IniWrite - Datentyp (0014) unbekannt:" "$(cat "$tmp/err")"
  expect_eq "logged lines" "IniWrite(\"demo.ini\",\"Zahlen\",\"Ganz\",[5])
 Integer
IniWrite(\"demo.ini\",\"Zahlen\",\"Komma\",[1,5])
 Real
IniWrite(\"demo.ini\",\"Texte\",\"Satz\",[Hallo Welt])
 String
IniWrite(\"demo.ini\",\"Schalter\",\"An\",[-1])
 Boolean
IniRead(\"demo.ini\",\"zahlen\",\"GANZ\",[0])
 Integer
 --> [5]
IniRead(\"demo.ini\",\"Zahlen\",\"Komma\",[0,5])
 Real
 --> [1,5]
IniRead(\"demo.ini\",\"Zahlen\",\"Ganz\",[0])
 String
 --> [5]
IniRead(\"demo.ini\",\"Schalter\",\"An\",[0])
 Boolean
 --> [-1]
IniRead(\"demo.ini\",\"Texte\",\"Fehlt\",[Vorgabe])
 String
 --> [Vorgabe]
IniWrite(\"$abs\",\"Datum\",\"Heute\",[07.12.2026])
 unklar 0007
IniWrite(\"$abs\",\"Zahlen\",\"Riesig\",[9007199254740993])
 unklar 0014
IniReadSections(\"demo.ini\",\";\")
 --> \"Zahlen;Texte;Schalter\"
IniReadSections(\"demo.ini\",\"\")
 --> \"ZahlenTexteSchalter\"
IniReadSection(\"demo.ini\",\"Zahlen\",\",\")
 --> \"Ganz,Komma\"
IniReadSectionValues(\"demo.ini\",\"Zahlen\",\",\")
 --> \"Ganz=5,Komma=1,5\"
IniDeleteKey(\"demo.ini\",\"Zahlen\",\"Komma\")
IniReadSectionValues(\"demo.ini\",\"Zahlen\",\",\")
 --> \"Ganz=5\"
IniReadSections(\"$abs\",\",\")
 --> \"\"
IniRead(\"fehlt.ini\",\"S\",\"K\",[7])
 Integer
 --> [7]
Programmende" "$(log_texts | sed '1,/^Application.Run$/d')"
}

# Runs velkora as a user whom file modes bind: as root through setpriv as
# "nobody" (the case folder handed over first), else as the user running
# the tests. Returns 77 when there is no such user here.
run_unprivileged() {
  if ((EUID == 0)); then
    command -v setpriv >/dev/null || return 77
    chown -R 65534:65534 "$tmp"
    setpriv --reuid=65534 --regid=65534 --clear-groups \
      "$velkora" --locale de --config-dir "$config" --state-dir "$state" "$@"
  else
    run "$@"
  fi
}

case_ini_read_only_folders() {
  # Settings and an INI file the user may write, in folders the user may
  # not change: the start settings are written back and the script's value
  # lands, both in place, as the platform's functions would write them; a
  # hard-linked file keeps both names.
  preset_logging
  mkdir -p "$tmp/shared" "$state"
  printf '[S]\r\nK=alt\r\n' >"$tmp/shared/werte.ini"
  ln "$tmp/shared/werte.ini" "$tmp/shared/zweiter-name.ini"
  chmod 755 "$tmp"
  local out rc
  out=$(run_unprivileged 2>"$tmp/err" <<EOF
VelkoraVersion()
EOF
  )
  rc=$?
  if ((rc == 77)); then
    echo "no unprivileged user to run as: skipped"
    return 0
  fi
  expect_eq "first run" "010103" "$out"
  chmod 555 "$config" "$tmp/shared"
  out=$(run_unprivileged 2>"$tmp/err" <<EOF
IniWrite("$tmp/shared/werte.ini", "S", "K", "neu")
IniRead("$tmp/shared/zweiter-name.ini", "S", "K", "")
EOF
  )
  rc=$?
  chmod 755 "$config" "$tmp/shared"
  expect_eq "rc" 0 "$rc"
  expect_eq "answers" "
neu" "$out"
  expect_eq "no box" "" "$(cat "$tmp/err")"
  expect_contains "settings written back" "Testmodus=0" "$(cat "$ini")"
  expect_eq "both names of the hard-linked file" "[S]
K=neu" "$(tr -d '\r' <"$tmp/shared/werte.ini")"
  expect_eq "no file left in the read-only folders" "velkora.ini
werte.ini
zweiter-name.ini" "$(ls "$config" "$tmp/shared" | grep -v ':$' | grep . | sort)"
}

# ---- writes that fail, and writes that are cut short --------------------

nobody_uid=65534

# velkora as a user whom file modes bind: as root through setpriv as
# "nobody" (only what the case hands over belongs to it), else as the user
# running the tests.
run_bound() {
  if ((EUID == 0)); then
    setpriv --reuid=$nobody_uid --regid=$nobody_uid --clear-groups \
      "$velkora" --locale de --config-dir "$config" --state-dir "$state" "$@"
  else
    run "$@"
  fi
}

# The case folder ready for run_bound: passable for everyone, settings, log
# and lock folders the bound user's own. 1 when it cannot be done here.
prepare_bound_user() {
  mkdir -p "$config" "$state"
  if ((EUID == 0)); then
    command -v setpriv >/dev/null || return 1
    chmod 755 "$tmp"
    chown $nobody_uid:$nobody_uid "$config" "$state" "$XDG_RUNTIME_DIR"
  fi
  return 0
}

# The files a case's calls may touch: all but the log and the captured
# standard error.
files_snapshot() { snapshot | grep -v -e "$state/" -e "$tmp/err"; }

# The text a refused INI write shows, for file name $1.
not_written() { echo "nach $1 kann nicht geschrieben werden"; }

case_write_refused() {
  prepare_bound_user || { echo "no unprivileged user to run as (setpriv missing): skipped"; return 0; }
  local own=$tmp/eigen locked=$tmp/gesperrt foreign=$tmp/fremd
  mkdir -p "$own" "$locked" "$foreign"
  printf '[S]\r\nK=alt\r\n' >"$own/nur-lesen.ini"
  chmod 444 "$own/nur-lesen.ini"
  printf '[Fenster]\r\nSchreibeLog=1\r\n' >"$ini"
  if ((EUID == 0)); then
    chown -R $nobody_uid:$nobody_uid "$own" "$locked" "$ini"
    printf '[S]\r\nK=alt\r\n' >"$foreign/fremd.ini"
  fi
  chmod 555 "$locked"
  # A read-only settings file: the server reads it, leaves it as it is,
  # says so in the log and serves calls. Its own user is refused as well,
  # although the folder would let a replacement in.
  chmod 444 "$ini"
  local before out
  before=$(files_snapshot)
  out=$(run_bound 2>"$tmp/err" <<CALLS
IniWrite("$own/nur-lesen.ini", "S", "K", "neu")
IniDeleteKey("$own/nur-lesen.ini", "S", "K")
IniWrite("$locked/neu.ini", "S", "K", 1)
IniDeleteKey("$locked/neu.ini", "S", "K")
IniRead("$own/nur-lesen.ini", "S", "K", "")
CALLS
  )
  expect_eq "rc" 0 "$?"
  expect_eq "answers: only the read has a value" "



alt" "$out"
  expect_eq "a box for each refused write, none for the deletes" \
    "[Fehler in Velkora] Exception: $(not_written "$own/nur-lesen.ini")
[Fehler in Velkora] Exception: $(not_written "$locked/neu.ini")" "$(cat "$tmp/err")"
  expect_contains "the log names the settings file that was not written" \
    "Starteinstellungen nicht gespeichert: $(not_written "$ini")" "$(log_texts)"
  expect_contains "and again at the end" \
    "Fensterposition nicht gespeichert: $(not_written "$ini")" "$(log_texts)"
  expect_contains "the log has the refusal" " Exception: $(not_written "$locked/neu.ini")" "$(log_texts)"
  expect_eq "no file changed, none created, no temporary file left" \
    "$before" "$(files_snapshot)"

  if ((EUID != 0)); then
    echo "files of another user: skipped (needs root to make them)"
    return 0
  fi
  # Another user's file and folder, and a settings folder the user may not
  # change holding another user's settings file.
  chown 0:0 "$ini" "$config"
  chmod 644 "$ini"
  chmod 755 "$config"
  before=$(files_snapshot)
  out=$(run_bound 2>"$tmp/err" <<CALLS
IniWrite("$foreign/fremd.ini", "S", "K", "neu")
IniWrite("$foreign/neu.ini", "S", "K", "neu")
IniDeleteKey("$foreign/fremd.ini", "S", "K")
VelkoraVersion
CALLS
  )
  expect_eq "another user's files: answers" "


010103" "$out"
  expect_eq "another user's files: boxes" \
    "[Fehler in Velkora] Exception: $(not_written "$foreign/fremd.ini")
[Fehler in Velkora] Exception: $(not_written "$foreign/neu.ini")" "$(cat "$tmp/err")"
  expect_contains "another user's settings file: the log says so" \
    "Starteinstellungen nicht gespeichert: $(not_written "$ini")" "$(log_texts)"
  expect_eq "another user's files: nothing changed" "$before" "$(files_snapshot)"
}

# A full disk: a file system of 64 KiB, filled up. The mount is made in a
# private mount namespace, so that it goes with this process however the
# case ends.
case_full_disk() {
  if ((EUID != 0)) || ! command -v unshare >/dev/null; then
    echo "full disk: skipped (mounting a size-limited file system needs root and unshare)"
    return 0
  fi
  unshare --mount --propagation private -- bash "${BASH_SOURCE[0]}" "$velkora" full_disk_mounted
  local rc=$?
  if ((rc == 77)); then
    echo "full disk: skipped (mounting a file system is not permitted here)"
    return 0
  fi
  ((rc == 0)) || fail "full disk (see above)"
}

case_full_disk_mounted() {
  disk_snapshot() { snapshot | grep -F "$disk/"; }
  local disk=$tmp/platte
  mkdir -p "$disk"
  mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null || exit 77
  config=$disk/config
  ini=$config/velkora.ini
  mkdir -p "$config" "$state" "$disk/daten"
  # Files big enough that rewriting them needs room the disk no longer has.
  local filler
  filler=$(head -c 12000 /dev/zero | tr '\0' x)
  printf '[Fenster]\r\nSchreibeLog=1\r\n[Notizen]\r\nN=%s\r\n' "$filler" >"$ini"
  printf '[S]\r\nK=alt\r\n[Notizen]\r\nN=%s\r\n' "$filler" >"$disk/daten/werte.ini"
  # A hard-linked file is written in place: it must not be cut off either.
  ln "$disk/daten/werte.ini" "$disk/daten/zweiter-name.ini"
  dd if=/dev/zero of="$disk/fueller" bs=4k 2>/dev/null
  local before out
  before=$(disk_snapshot)
  out=$(run 2>"$tmp/err" <<CALLS
IniWrite("$disk/daten/werte.ini", "S", "K", "$filler")
IniWrite("$disk/daten/neu.ini", "S", "K", "$filler")
IniRead("$disk/daten/werte.ini", "S", "K", "")
CALLS
  )
  expect_eq "rc" 0 "$?"
  expect_eq "answers" "

alt" "$out"
  expect_eq "a box for each write that did not fit" \
    "[Fehler in Velkora] Exception: $(not_written "$disk/daten/werte.ini")
[Fehler in Velkora] Exception: $(not_written "$disk/daten/neu.ini")" "$(cat "$tmp/err")"
  expect_contains "the settings could not be written back" \
    "Starteinstellungen nicht gespeichert: $(not_written "$ini")" "$(log_texts)"
  expect_contains "nor the window position at the end" \
    "Fensterposition nicht gespeichert: $(not_written "$ini")" "$(log_texts)"
  expect_eq "every file as before, nothing half-written left" "$before" "$(disk_snapshot)"

  # With room again, the same writes go through.
  rm "$disk/fueller"
  out=$(run 2>"$tmp/err" <<CALLS
IniWrite("$disk/daten/werte.ini", "S", "K", "neu")
IniRead("$disk/daten/zweiter-name.ini", "S", "K", "")
CALLS
  )
  expect_eq "with room: answers" "
neu" "$out"
  expect_eq "with room: no box" "" "$(cat "$tmp/err")"
  expect_contains "with room: settings written back" "Testmodus=0" "$(cat "$ini")"
  umount "$disk"
  ((failures == 0)) || exit 1
}

# The value written by call $1 of the killed writer's loop: lengths change
# from call to call, so a mix of two states cannot look whole.
killed_writer_value() {
  awk -v i="$1" 'BEGIN { for (k = 0; k < i % 9 + 1; k++) printf "w%dx", i }'
}

# Servers killed (SIGKILL) while they write one INI file over and over:
# after each kill the file holds one whole state, never parts of two, and
# the next server reads and writes it as usual.
case_killed_writer() {
  preset_logging
  mkdir -p "$tmp/daten"
  local file=$tmp/daten/werte.ini filler i round value expected
  # A big file, so that each write takes a while and a kill can meet one.
  filler=$(head -c 300000 /dev/zero | tr '\0' x)
  printf '[S]\r\nK=%s\r\n[Fueller]\r\nF=%s\r\n' "$(killed_writer_value 0)" "$filler" >"$file"
  awk -v file="$file" 'BEGIN {
    for (i = 1; i <= 400; i++) {
      value = ""
      for (k = 0; k < i % 9 + 1; k++) value = value "w" i "x"
      printf "IniWrite(\"%s\", \"S\", \"K\", \"%s\")\n", file, value
    }
  }' >"$tmp/calls"
  local written=0
  for round in $(seq 1 10); do
    # velkora itself in the background, so that the kill meets it.
    "$velkora" --locale de --config-dir "$config" --state-dir "$state" <"$tmp/calls" >/dev/null 2>&1 &
    local pid=$!
    sleep "0.$((RANDOM % 40 + 5))"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    value=$(sed -n 2p "$file" | tr -d '\r')
    value=${value#K=}
    if [[ ! "$value" =~ ^w([0-9]+)x ]]; then
      fail "round $round: the value is not one that was written: ${value:0:80}"
      break
    fi
    i=${BASH_REMATCH[1]}
    expected=$(printf '[S]\r\nK=%s\r\n[Fueller]\r\nF=%s\r\nX' "$(killed_writer_value "$i")" "$filler")
    if ! cmp -s "$file" <(printf '%s' "${expected%X}"); then
      fail "round $round: the file is not the whole state of write $i"
      break
    fi
    ((i > 0)) && written=$((written + 1))
  done
  ((written > 0)) || fail "no round got as far as a write"
  local out
  out=$(printf 'IniWrite("%s", "S", "K", "zuletzt")\nIniRead("%s", "S", "K", "")\n' "$file" "$file" | run 2>&1)
  expect_eq "after the kills a server reads and writes the file" "
zuletzt" "$out"
}

# ---- velkora lcr: the what-if command of least-cost routing ---------------

examples=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../examples/lcr" && pwd)

# The sample configurations in the case folder, with TK32Pfad pointing at
# the copy of TK32's files.
lcr_samples() {
  cp -r "$examples" "$tmp/lcr"
  local mode
  for mode in tk32-modus1 tk32-modus2; do
    sed -i "s#^TK32Pfad=.*#TK32Pfad=$tmp/lcr/tk32/\r#" "$tmp/lcr/$mode/velkora.ini"
  done
}

lcr() {  # mode args...: stdout to $tmp/out, stderr to $tmp/err, exit code in $rc
  local mode=$1
  shift
  "$velkora" lcr "$@" --config-dir "$tmp/lcr/$mode" --locale de >"$tmp/out" 2>"$tmp/err"
  rc=$?
}

case_lcr_samples() {
  lcr_samples
  lcr einstellungen 60 --at "07.12.2026 07:58:30"
  expect_eq "mode 0: exit code" 0 "$rc"
  expect_eq "mode 0: name, then the list sorted by cost" \
    $'Minutentakt\nMinutentakt:0,0099;Sekundentakt:0,012;Grundgebuehr:0,1049' "$(cat "$tmp/out")"
  expect_eq "mode 0: nothing on stderr" "" "$(cat "$tmp/err")"
  lcr einstellungen 3600
  expect_eq "mode 0, 1 h, now: the one with the fee" "Grundgebuehr" "$(head -n 1 "$tmp/out")"

  lcr tk32-modus1 60
  expect_eq "mode 1, now" $'Flinknet\nFlinknet:0,0079;dauersurfer:0,1549' "$(cat "$tmp/out")"

  lcr tk32-modus2 300 --at "07.12.2026 07:58:30"
  expect_eq "mode 2, Monday morning" \
    $'Flinknet\nFlinknet:0,0395;Nachtfalke:0,0445;Mitternacht:0,12;Kupfernetz-Online:0,1605;Dauersurfer:0,1745' \
    "$(cat "$tmp/out")"
  lcr tk32-modus2 300 --at "08.12.2026 12:00:00"
  expect_eq "mode 2, Tuesday noon: day prices and a fee" \
    "Flinknet:0,0395;Nachtfalke:0,0795;Dauersurfer:0,1745;Mitternacht:0,24;Kupfernetz-Online:0,3305" \
    "$(tail -n 1 "$tmp/out")"
  lcr tk32-modus2 300 --at "25.12.2026 12:00:00"
  expect_contains "mode 2, a holiday: weekend prices" "Nachtfalke:0,0445;" "$(tail -n 1 "$tmp/out")"
  lcr tk32-modus2 99999 --at "07.12.2026 07:58:30"
  expect_eq "more than a day counts as a day" 0 "$rc"
  expect_eq "no box" "" "$(cat "$tmp/err")"

  # No server: no lock taken, no log, no settings written.
  [[ ! -e "$state" ]] || fail "the command made the log folder"
  expect_eq "the sample settings file is unchanged" "" \
    "$(diff <(tr -d '\r' <"$examples/einstellungen/velkora.ini") <(tr -d '\r' <"$tmp/lcr/einstellungen/velkora.ini"))"
}

case_lcr_trace() {
  lcr_samples
  lcr tk32-modus2 300 --at "07.12.2026 07:58:30" --trace
  expect_eq "exit code" 0 "$rc"
  expect_eq "stdout as without --trace" "Flinknet" "$(head -n 1 "$tmp/out")"
  local err
  err=$(cat "$tmp/err")
  expect_eq "first line: the evaluation's start" \
    " Verbindungskosten auswerten ab 07.12.2026 07:58:30 für 300 Sekunden" "$(head -n 1 <<<"$err")"
  expect_contains "each tariff file once" "  Tarifdatei kupfernetz einlesen" "$err"
  expect_eq "kupfernetz read once" 1 "$(grep -c '^  Tarifdatei kupfernetz einlesen$' <<<"$err")"
  # Kupfernetz-Online's provider costs: two periods around 08:00.
  expect_contains "period by period" \
    $' Provider: Kupfernetz-Online\n  Providerkosten\n   07.12.2026 07:58:30, Mo\n    Einwahlkosten: 0\n    Dauer: 120\n    Zeitraumkosten: 0,0162\n   07.12.2026 08:00:30, Mo\n    Dauer: 180\n    Zeitraumkosten: 0,0243' \
    "$err"
  expect_eq "last line: the total of the last connection read" "  Gesamtkosten: 0,12" "$(tail -n 1 <<<"$err")"
}

# Relative folders are taken from the folder the program starts in, once:
# the README's example run from the folder that holds the samples, a
# relative or absent TK32Pfad, and the server's own folders.
case_relative_folders() {
  lcr_samples
  (cd "$tmp" && "$velkora" lcr 60 --at "07.12.2026 07:58:30" --config-dir lcr/einstellungen --locale de) \
    >"$tmp/out" 2>"$tmp/err"
  expect_eq "lcr, relative --config-dir: the ranking" \
    $'Minutentakt\nMinutentakt:0,0099;Sekundentakt:0,012;Grundgebuehr:0,1049' "$(cat "$tmp/out")"
  expect_eq "lcr, relative --config-dir: nothing on stderr" "" "$(cat "$tmp/err")"

  # tk32.ini found beside the start folder is the one read; a copy of the
  # same relative name beside the settings must not be taken instead.
  sed -i "s#^TK32Pfad=.*#TK32Pfad=lcr/tk32\r#" "$tmp/lcr/tk32-modus1/velkora.ini"
  mkdir -p "$tmp/lcr/tk32-modus1/lcr/tk32"
  printf '[Connections]\r\nCount=-1\r\n' >"$tmp/lcr/tk32-modus1/lcr/tk32/tk32.ini"
  (cd "$tmp" && "$velkora" lcr 60 --config-dir lcr/tk32-modus1 --locale de --trace) >"$tmp/out" 2>"$tmp/err"
  expect_eq "relative TK32Pfad: the ranking" $'Flinknet\nFlinknet:0,0079;dauersurfer:0,1549' "$(cat "$tmp/out")"
  expect_contains "relative TK32Pfad: read as a full path" \
    " Zeitprofile/Feiertage aus $(cd "$tmp/lcr/tk32" && pwd -P)/tk32.ini einlesen" "$(cat "$tmp/err")"
  sed -i "/^TK32Pfad=/d" "$tmp/lcr/tk32-modus1/velkora.ini"
  (cd "$tmp/lcr/tk32" && "$velkora" lcr 60 --config-dir ../tk32-modus1 --locale de) >"$tmp/out" 2>"$tmp/err"
  expect_eq "absent TK32Pfad: the current folder" "Flinknet" "$(head -n 1 "$tmp/out")"

  mkdir -p "$tmp/work"
  (cd "$tmp/work" && printf 'VelkoraIniname()\nIniWrite "rel.ini", "S", "K", 1\n' |
    "$velkora" --locale de --config-dir ./cfg/ --state-dir st) >"$tmp/out" 2>"$tmp/err"
  local work
  work=$(cd "$tmp/work" && pwd -P)
  expect_eq "server, relative --config-dir: VelkoraIniname is a full path" "$work/cfg/velkora.ini" \
    "$(head -n 1 "$tmp/out")"
  [[ -f "$work/cfg/rel.ini" ]] || fail "a relative INI name lies beside velkora.ini"
  [[ ! -e "$work/cfg/cfg" ]] || fail "the settings folder was taken from itself"
}

case_lcr_errors() {
  lcr_samples
  lcr einstellungen abc
  expect_eq "no integer: exit code 1" 1 "$rc"
  expect_eq "no integer: two empty lines" "2 0" "$(wc -l <"$tmp/out") $(tr -d '\n' <"$tmp/out" | wc -c)"
  expect_eq "no integer: the engine's box" \
    "[Fehler in Velkora.GetRasLCR] Exception: 'abc' ist kein gültiger Integerwert" "$(cat "$tmp/err")"

  printf '[LCR]\r\nTK32Mode=3\r\nTK32Pfad=%s/lcr/tk32\r\n' "$tmp" >"$tmp/lcr/einstellungen/velkora.ini"
  lcr einstellungen 60 --trace
  expect_eq "unknown mode: exit code 1" 1 "$rc"
  expect_eq "unknown mode: two boxes, each followed by its log line" \
    "$(printf '%s\n' ' Verbindungskosten auswerten ab' \
      '[Fehler in Velkora.GetRasLCR] TK32Modus 3 unbekannt' ' TK32Modus 3 unbekannt' \
      '[Fehler in Velkora.GetRasLCR] Keine Provider zum Auswerten gefunden' \
      ' Keine Provider zum Auswerten gefunden')" \
    "$(sed 's/ ab .*/ ab/' "$tmp/err")"

  local out
  for args in "" "60 90" "60 --at 2026-12-07" "60 --at" "60 --bogus"; do
    # shellcheck disable=SC2086
    "$velkora" lcr $args --config-dir "$tmp/lcr/einstellungen" >"$tmp/out" 2>"$tmp/err"
    rc=$?
    expect_eq "bad command line <$args>: exit code 2" 2 "$rc"
    expect_eq "bad command line <$args>: nothing on stdout" "" "$(cat "$tmp/out")"
    expect_contains "bad command line <$args>: the hint" "Try 'velkora lcr --help'." "$(cat "$tmp/err")"
  done
  out=$("$velkora" lcr --help)
  expect_eq "lcr --help: exit code 0" 0 "$?"
  expect_contains "lcr --help" 'velkora lcr SECONDS [--at "DD.MM.YYYY HH:MM:SS"]' "$out"
  expect_contains "velkora --help documents the command" "--trace" "$("$velkora" --help)"
}

if ! declare -F "case_$case_name" >/dev/null; then
  echo "unknown case: $case_name" >&2
  exit 2
fi
"case_$case_name"
if ((failures > 0)); then
  echo "$case_name: $failures failure(s)" >&2
  exit 1
fi
echo "$case_name: ok"
