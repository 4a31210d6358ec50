# The suites against velkora.exe. The exe is copied into its own folder in
# the run's prefix, so settings file and log (kept beside the exe) belong to
# this run alone, and it is registered from there.

readonly E2E_CLSID='{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}'
readonly E2E_LIBID='{48CBD5C0-7312-11D3-97E5-0080AD72B2B2}'
readonly E2E_IID='{1AF7107C-3DB3-4A63-9DD7-E1F9CC702D03}'

# velkora_run <name> <args...>: runs the server in the foreground with a time
# limit; output in <run>/<name>.out, exit code as status.
velkora_run() {
  local name=$1
  shift
  e2e_timed "$E2E_APP_DIR" 30 wine "$E2E_EXE_WIN" "$@" >"$E2E_RUN/$name.out" 2>&1
}

velkora_pids() { e2e_wine_pids 'velkora.exe'; }

# velkora_wait_gone [tenths]: waits until no velkora.exe of this run is alive.
velkora_wait_gone() {
  e2e_wait_no_process 'velkora.exe' "${1:-300}"
}

# Writes the settings file fresh with the given lines (section "Fenster").
velkora_preset_ini() {
  rm -f "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log"
  { printf '[Fenster]\r\n'; printf '%s\r\n' "$@"; } >"$E2E_APP_DIR/velkora.ini"
}

# Keeps settings file and log of a test for the post-mortem, as
# <run>/<name>.velkora.ini and .log.
velkora_keep() {
  cp "$E2E_APP_DIR/velkora.ini" "$E2E_RUN/$1.velkora.ini" 2>/dev/null
  cp "$E2E_APP_DIR/velkora.log" "$E2E_RUN/$1.velkora.log" 2>/dev/null
  return 0
}

# Prints the log's lines without CR.
velkora_log() { tr -d '\r' 2>/dev/null <"$E2E_APP_DIR/velkora.log"; }

# velkora_log_has_in_order <text...>: each text ends a log line (after the
# timestamp and its blank), in this order.
velkora_log_has_in_order() {
  velkora_log | awk -v n=$# '
    BEGIN { for (i = 1; i < ARGC; i++) want[i] = ARGV[i]; ARGC = 1; k = 1 }
    k <= n { t = " " want[k]; if (length($0) > length(t) && substr($0, length($0) - length(t) + 1) == t) k++ }
    END { if (k <= n) { print "    missing in the log: <" want[k] ">" > "/dev/stderr"; exit 1 } }
  ' "$@"
}

# velkora_ini_value <key>: the value of a key in section "Fenster".
velkora_ini_value() {
  tr -d '\r' 2>/dev/null <"$E2E_APP_DIR/velkora.ini" | awk -F= -v key="$1" '
    /^\[/ { in_section = (tolower($0) == "[fenster]"); next }
    in_section && tolower($1) == tolower(key) { print substr($0, index($0, "=") + 1); found = 1; exit }
    END { exit !found }'
}

velkora_reg_is() {
  local got
  got=$(e2e_reg_value "$1") || { e2e_log "    $1: missing"; return 1; }
  [[ ${got,,} == "${2,,}" ]] || { e2e_log "    $1: <$got>, want <$2>"; return 1; }
}

# A path without blanks to velkora.exe on C:, as the short form of a path
# with blanks is.
velkora_is_short_exe_path() {
  [[ $1 != *' '* && ${1^^} == 'C:\'*'\VELKORA.EXE' ]]
}

velkora_class_keys() {
  printf '%s\n' "HKCR\\CLSID\\$E2E_CLSID\\TypeLib" "HKCR\\CLSID\\$E2E_CLSID\\Version" \
    "HKCR\\CLSID\\$E2E_CLSID\\ProgID" 'HKCR\ScriptFunctions.App\Clsid' 'HKCR\ScriptFunctions.App' \
    "HKCR\\CLSID\\$E2E_CLSID\\LocalServer32" "HKCR\\CLSID\\$E2E_CLSID"
}

velkora_check_registered() {
  local clsid_key="HKCR\\CLSID\\$E2E_CLSID"
  e2e_check "class key: App Objekt" velkora_reg_is "$clsid_key" 'App Objekt'
  e2e_check "LocalServer32: the exe's path" velkora_reg_is "$clsid_key\\LocalServer32" "$E2E_EXE_WIN"
  e2e_check "ProgID key: App Objekt" velkora_reg_is 'HKCR\ScriptFunctions.App' 'App Objekt'
  e2e_check "ProgID's Clsid" velkora_reg_is 'HKCR\ScriptFunctions.App\Clsid' "$E2E_CLSID"
  e2e_check "class's ProgID" velkora_reg_is "$clsid_key\\ProgID" 'ScriptFunctions.App'
  e2e_check "class's Version 1.0" velkora_reg_is "$clsid_key\\Version" '1.0'
  e2e_check "class's TypeLib" velkora_reg_is "$clsid_key\\TypeLib" "$E2E_LIBID"
  e2e_check "type library registered" e2e_reg_key_exists "HKCR\\TypeLib\\$E2E_LIBID\\1.0"
  e2e_check "interface registered by the type library" e2e_reg_key_exists "HKCR\\Interface\\$E2E_IID"
}

velkora_check_unregistered() {
  local key
  while read -r key; do
    e2e_check "removed: $key" eval "! e2e_reg_key_exists '$key'"
  done < <(velkora_class_keys)
  e2e_check "type library unregistered" eval "! e2e_reg_key_exists 'HKCR\\TypeLib\\$E2E_LIBID\\1.0'"
}

# A text as the box watcher writes it: backslash, tab, CR and LF escaped.
velkora_box_escaped() {
  local text=${1//\\/\\\\}
  text=${text//$'\t'/\\t}
  text=${text//$'\r'/\\r}
  printf '%s' "${text//$'\n'/\\n}"
}

# The INI scripts' boxes and log lines (ini.vbs, then ini.js; each log is
# kept as <script>.velkora.log). Dates in the log follow Wine's German short
# date, d.M.yyyy.
velkora_ini_suite_checks() {
  local before=$1 file boxes box
  file=$(tr -d '\r' <"$E2E_RUN/ini.vbs.out" | sed -n 's/^INFO file //p')
  boxes=$(e2e_boxes_since "$before")
  e2e_check "four boxes: three of ini.vbs, one of ini.js (got $(grep -c . <<<"$boxes"))" \
    test "$(grep -c . <<<"$boxes")" = 4
  for box in \
      "IniWrite - Datentyp (0007) unbekannt:"$'\r\n\r\n'"Datei: $file"$'\r\n'"Sektion: Texte"$'\r\n'"Schlüssel: Datum" \
      "IniRead - Datentyp (0007) unbekannt:"$'\r\n\r\n'"Datei: $file"$'\r\n'"Sektion: Texte"$'\r\n'"Schlüssel: Satz" \
      "Exception: '1.5' ist kein gültiger Gleitkommawert"; do
    e2e_check "box: ${box%%$'\r'*}" grep -qxF "Fehler in Velkora"$'\t'"$(velkora_box_escaped "$box")"$'\t'ok <<<"$boxes"
  done
  e2e_check "box of ini.js: null has no INI type" grep -qF 'IniWrite - Datentyp (0001) unbekannt:' <<<"$boxes"
  # The log is in the ANSI code page; the checks are UTF-8.
  iconv -f CP1252 -t UTF-8 <"$E2E_RUN/ini.vbs.velkora.log" >"$E2E_APP_DIR/velkora.log"
  e2e_check "ini.vbs: call, type and result lines in the log" velkora_log_has_in_order \
    "IniWrite(\"$file\",\"Zahlen\",\"Klein\",[5])" ' Integer' \
    "IniWrite(\"$file\",\"Zahlen\",\"Komma\",[1,5])" ' Real' \
    "IniRead(\"$file\",\"Zahlen\",\"Komma\",[0,5])" ' Real' ' --> [1,5]' \
    "IniWrite(\"$file\",\"Texte\",\"Satz\",[Ein Satz, mit Komma])" ' String' \
    "IniRead(\"$file\",\"Schalter\",\"An\",[0])" ' Boolean' ' --> [-1]' \
    "IniRead(\"$file\",\"Zahlen\",\"Klein\",[5])" ' String' ' --> [5]' \
    "IniWrite(\"$file\",\"Texte\",\"Datum\",[7.12.2026])" ' unklar 0007' \
    ' Exception: '"'"'1.5'"'"' ist kein gültiger Gleitkommawert' \
    "IniReadSections(\"$file\",\"{0d}{0a}\")" ' --> "Zahlen{0d}{0a}Texte{0d}{0a}Schalter{0d}{0a}Fremd"' \
    "IniDeleteKey(\"$file\",\"Schalter\",\"AN\")"
}

# velkora_install <exe>: copies the server into its folder in the prefix
# and sets the names the suites use (not yet registered).
velkora_install() {
  E2E_APP_DIR=$E2E_DRIVE_C/velkora-e2e
  mkdir -p "$E2E_APP_DIR"
  cp "$1" "$E2E_APP_DIR/velkora.exe"
  E2E_EXE_WIN='C:\velkora-e2e\velkora.exe'
  export E2E_INI='C:\velkora-e2e\velkora.ini' E2E_LOG='C:\velkora-e2e\velkora.log'
}

e2e_server_suite() {
  local exe=$1 dir=$E2E_SRC/server before status
  velkora_install "$exe"

  e2e_begin "server: /RegServer and /UnregServer"
  before=$(e2e_box_count)
  e2e_check "not registered in a fresh prefix" eval "! e2e_reg_key_exists 'HKCR\\CLSID\\$E2E_CLSID'"
  status=0; velkora_run regserver /RegServer || status=$?
  e2e_check "/RegServer exits with 0 (got $status)" test "$status" = 0
  velkora_check_registered
  status=0; velkora_run unregserver /UnregServer || status=$?
  e2e_check "/UnregServer exits with 0 (got $status)" test "$status" = 0
  velkora_check_unregistered
  # Switches with "-" or "/", in any letter case.
  status=0; velkora_run regserver2 -regserver || status=$?
  e2e_check "-regserver exits with 0 (got $status)" test "$status" = 0
  e2e_check "-regserver registers" velkora_reg_is 'HKCR\ScriptFunctions.App\Clsid' "$E2E_CLSID"
  status=0; velkora_run unregserver2 /UNREGSERVER || status=$?
  e2e_check "/UNREGSERVER exits with 0 (got $status)" test "$status" = 0
  e2e_check "/UNREGSERVER unregisters" eval "! e2e_reg_key_exists 'HKCR\\ScriptFunctions.App'"
  # From a folder with a blank in its name the class is registered under the
  # short 8.3 form of the path, which needs no quotes on a command line.
  mkdir -p "$E2E_DRIVE_C/velkora e2e blank"
  cp "$E2E_APP_DIR/velkora.exe" "$E2E_DRIVE_C/velkora e2e blank/velkora.exe"
  status=0
  e2e_timed "$E2E_DRIVE_C/velkora e2e blank" 30 wine 'C:\velkora e2e blank\velkora.exe' /RegServer \
    >"$E2E_RUN/regserver-blank.out" 2>&1 || status=$?
  e2e_check "/RegServer from a folder with a blank exits with 0 (got $status)" test "$status" = 0
  local server32
  server32=$(e2e_reg_value "HKCR\\CLSID\\$E2E_CLSID\\LocalServer32")
  e2e_check "LocalServer32 holds the short path, no blank: <$server32>" \
    velkora_is_short_exe_path "$server32"
  e2e_check "no box shown while registering" test "$(e2e_box_count)" = "$before"
  e2e_check "no server process left" velkora_wait_gone
  status=0; velkora_run regserver3 /RegServer || status=$?
  e2e_check "registered again for the following tests" test "$status" = 0
  e2e_end

  e2e_begin "server: VBScript client, server started by COM, logging on"
  velkora_preset_ini 'SchreibeLog=1'
  before=$(e2e_box_count)
  e2e_check "automation.vbs passes" e2e_cscript "$dir/automation.vbs" 120
  velkora_keep automation.vbs
  e2e_check "the server process ended" velkora_wait_gone
  local boxes
  boxes=$(e2e_boxes_since "$before")
  e2e_check "exactly one box: ShowInfo's" test "$(grep -c . <<<"$boxes")" = 1
  e2e_check "ShowInfo's box has caption Info and names the version" \
    grep -qE $'^Info\t.*Version 1\\.1\\.3.*\tok$' <<<"$boxes"
  e2e_check "the log holds the start lines with -Embedding" velkora_log_has_in_order \
    'Start Velkora Version 1.1.3' 'Kommandozeileninformation' ' Anzahl Parameter: 1' \
    " Nummmer:0 Wert:<$E2E_EXE_WIN>" ' Nummmer:1 Wert:<-Embedding>' 'Application.Initialize' \
    'Application.CreateForm' 'Application.Run' 'VelkoraVersion()' ' --> "010103"'
  e2e_check "Fenster/Testmodus=0" test "$(velkora_ini_value Testmodus)" = 0
  e2e_check "Fenster/Unsichtbar=0" test "$(velkora_ini_value Unsichtbar)" = 0
  e2e_check "Fenster/SchreibeLog=1" test "$(velkora_ini_value SchreibeLog)" = 1
  e2e_end

  e2e_begin "server: JScript client, logging off, fresh settings"
  rm -f "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log"
  before=$(e2e_box_count)
  e2e_check "automation.js passes" e2e_cscript "$dir/automation.js" 90
  velkora_keep automation.js
  e2e_check "the server process ended" velkora_wait_gone
  e2e_check "one box: ShowInfo's" test "$(e2e_boxes_since "$before" | grep -c .)" = 1
  e2e_check "ShowInfo's box from JScript" grep -qE $'^Info\t.*Version 1\\.1\\.3.*\tok$' \
    <<<"$(e2e_boxes_since "$before")"
  e2e_check "the settings file holds Testmodus=0" test "$(velkora_ini_value Testmodus)" = 0
  e2e_check "the settings file holds Unsichtbar=0" test "$(velkora_ini_value Unsichtbar)" = 0
  e2e_check "the settings file holds SchreibeLog=0" test "$(velkora_ini_value SchreibeLog)" = 0
  e2e_check "no log written while logging is off" test ! -e "$E2E_APP_DIR/velkora.log"
  e2e_end

  e2e_begin "server: script variables by reference, Null, Empty, arrays and objects as arguments"
  before=$(e2e_box_count)
  local script
  for script in arguments.vbs arguments.js; do
    velkora_preset_ini 'SchreibeLog=1'
    e2e_check "$script passes" e2e_cscript "$dir/$script" 90
    velkora_keep "$script"
    e2e_check "$script: the log holds the VelkoraVersion call" velkora_log_has_in_order 'VelkoraVersion()'
  done
  # Numbers, Booleans, Empty and objects reached the window functions as
  # their text; the refused calls left no line.
  e2e_check "arguments.js: converted arguments in the call lines" velkora_log_has_in_order \
    'WndGetList("^E2E$",";")' 'WindowExists("90")' 'WndGetList("2.5","1")' 'WindowExists("-1")' 'WindowExists("")' \
    'WndGetList("^E2E$","90")' 'WndGetList("a,b",";")' 'WndGetList("^E2E$",";")' \
    'WindowExists("[object Object]")' 'WndGetList("C:\windows",";")' 'VelkoraVersion()'
  e2e_check "arguments.js: only the calls that ran were logged" \
    test "$(velkora_log | grep -cE ' (WndGetList|WindowExists)\(')" = 12
  e2e_check "the server process ended" velkora_wait_gone
  e2e_check "no box shown" test "$(e2e_box_count)" = "$before"
  e2e_end

  e2e_begin "server: bad input in every argument of every method"
  before=$(e2e_box_count)
  for script in bad_input.vbs bad_input.js; do
    velkora_preset_ini 'SchreibeLog=1'
    e2e_check "$script passes" e2e_cscript "$dir/$script" 120
    velkora_keep "$script"
    # A 10 MB argument or one with line breaks still makes one line each.
    e2e_check "$script: every log line begins with its timestamp" \
      test "$(velkora_log | grep -acvE '^[0-9]{1,2}[./][0-9]{1,2}[./][0-9]{4}')" = 0
  done
  e2e_check "the server process ended" velkora_wait_gone
  e2e_check "no box shown" test "$(e2e_box_count)" = "$before"
  e2e_end

  e2e_begin "server: window functions against windows of the test and Notepad"
  local error_boxes helper
  for script in windows.vbs windows.js; do
    velkora_preset_ini 'SchreibeLog=1'
    before=$(e2e_box_count)
    e2e_check "$script passes" e2e_cscript "$dir/$script" 180
    velkora_keep "$script"
    # A script that failed half-way leaves its windows open: close them, so
    # that the next script meets only its own.
    for helper in $(e2e_wine_pids 'box_watcher.exe windows'); do e2e_kill_pid "$helper"; done
    boxes=$(e2e_boxes_since "$before")
    error_boxes=$(grep -cE $'^Fehler in Velkora\tException: Perlre: .+\tok$' <<<"$boxes")
    e2e_check "$script: every box is an error box of a pattern" \
      test "$error_boxes" = "$(grep -c . <<<"$boxes")"
    e2e_check "$script: the pattern that does not compile showed the error box" \
      grep -qxF "$(printf 'Fehler in Velkora\tException: Perlre: missing closing parenthesis\tok')" <<<"$boxes"
    e2e_check "$script: the refused WndClose left no line" eval "! velkora_log | grep -q vielleicht"
    case $script in
      windows.vbs)
        e2e_check "$script: two error boxes (got $error_boxes)" test "$error_boxes" = 2
        e2e_check "$script: call and result lines" velkora_log_has_in_order \
          'WndGetList("^(foo|bar|boo)$",",")' ' --> "Foo,Bar,Boo"' \
          'WindowExists("EDI")' ' Fenster gefunden' ' --> True' \
          'WindowExists("ditor")' ' Fenster existiert nicht' ' --> False' \
          'WindowExists("")' ' --> False' \
          'CloseWindow("EDI")' ' Fenster gefunden' \
          'WndGetList("(a+)+$",",")' ' --> ""' \
          'WndClose("^(a|aa)+$",",",True)' ' --> ""' \
          'WndGetList("(",",")' ' Exception: Perlre: missing closing parenthesis' \
          'WndClose("^[fb]oo$","|",False)' ' --> "Foo"' \
          'WndClose("^(bar|boo)$","|",True)' ' --> "Bar|Boo"' \
          'CloseWindow("Untitled")' ' Fenster gefunden' \
          'WndClose(" - notepad$",";",False)' ' --> "Untitled - Notepad"' ;;
      windows.js)
        e2e_check "$script: one error box (got $error_boxes)" test "$error_boxes" = 1
        e2e_check "$script: call and result lines" velkora_log_has_in_order \
          'WindowExists("bo")' ' --> True' \
          'WndGetList("(",",")' ' Exception: Perlre: missing closing parenthesis' \
          'WndClose("^[fb]oo$","|",False)' ' --> "Foo"' \
          'CloseWindow("ba")' ' Fenster gefunden' \
          'WndClose("^boo$","|",True)' ' --> "Boo"' \
          'WndClose("^(bar|boo)$","|",True)' ' --> ""' ;;
    esac
  done
  e2e_check "no notepad.exe left" e2e_wait_no_process notepad.exe 150
  e2e_check "the server process ended" velkora_wait_gone
  e2e_end

  e2e_begin "server: INI functions through the system's profile functions, German locale"
  velkora_wait_gone
  before=$(e2e_box_count)
  for script in ini.vbs ini.js; do
    velkora_preset_ini 'SchreibeLog=1'
    # The server started for the script inherits its locale: German, with
    # the decimal comma.
    E2E_CSCRIPT_LOCALE=de_DE.UTF-8 e2e_check "$script passes" e2e_cscript "$dir/$script" 120
    velkora_keep "$script"
    e2e_check "$script: the server ended" velkora_wait_gone
  done
  velkora_ini_suite_checks "$before"
  e2e_end

  e2e_begin "server: started by hand, second instance, release keeps it running"
  velkora_preset_ini 'SchreibeLog=1' 'Unsichtbar=1'
  local pid
  e2e_start_bg "$E2E_APP_DIR" "$E2E_RUN/byhand.out" "$E2E_EXE_WIN"
  pid=$E2E_LAST_PID
  local i
  for ((i = 0; i < 600; i++)); do
    velkora_log | grep -q 'Application.Run$' && break
    e2e_pid_alive "$pid" || break
    sleep 0.1
  done
  e2e_check "the server started by hand runs" e2e_pid_alive "$pid"
  e2e_check "its log shows no parameter" velkora_log_has_in_order ' Anzahl Parameter: 0' \
    " Nummmer:0 Wert:<$E2E_EXE_WIN>" 'Application.Run'
  local sums
  sums=$(md5sum "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log")
  local t0=$SECONDS
  status=0; velkora_run second || status=$?
  e2e_check "a second instance exits with 0 (got $status)" test "$status" = 0
  e2e_check "... at once" test $((SECONDS - t0)) -le 10
  status=0; velkora_run second-reg /RegServer || status=$?
  e2e_check "a second instance with /RegServer exits with 0 (got $status)" test "$status" = 0
  e2e_check "the second instances left settings and log alone" \
    test "$(md5sum "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log")" = "$sums"
  e2e_check "byhand.vbs passes" e2e_cscript "$dir/byhand.vbs" 60
  velkora_keep byhand.vbs
  e2e_check "the server started by hand still runs" e2e_pid_alive "$pid"
  # Ended the way a user ends it, by closing its (hidden) window: a killed
  # server leaves Wine's COM service pointing at a dead process, and every
  # later CreateObject of the run fails.
  e2e_timed "$E2E_RUN" 30 wine box_watcher.exe close 'Velkora 1.1.3' 10000 >"$E2E_RUN/byhand-close.out" 2>&1
  e2e_check "the server started by hand ended when its window was closed" velkora_wait_gone
  e2e_kill_pid "$pid"
  e2e_end
}
