# The server's boundary under Wine: scripts that follow each other while a
# server ends, registration while a server runs, the LocalServer32 entry of
# a path with blanks, and a settings file the user may not write. Sourced by
# run.sh after server/server.sh, whose helpers and installed server (in
# C:\velkora-e2e, registered) it uses.

# Builds the client that runs create/call/release again and again (cached
# in the work folder like the box watcher).
boundary_build_client() {
  e2e_build_helper "$E2E_SRC/successive_client.cpp" successive_client.exe -lole32 -loleaut32 -luuid
}

# boundary_successive <name> <runs> <first pause ms> <last pause ms>: runs
# the client; its output lands in <run>/<name>.out. Status 0 when every run
# passed.
boundary_successive() {
  local name=$1 out=$E2E_RUN/$1.out status=0
  shift
  e2e_timed "$E2E_RUN" 3000 wine successive_client.exe "$@" >"$out" 2>&1 || status=$?
  tr -d '\r' <"$out" | grep -aE '^(FAIL|INFO)' | sed "s/^/    $name: /" >&2
  tr -d '\r' <"$out" | grep -aqxE "SUCCESSIVE-END runs=$1 failures=0" && ((status == 0))
}

# Runs a command as a user without rights beyond its own files: nobody
# when this runs as root (whose file modes stop no write), else the caller.
boundary_unprivileged() {
  local run=()
  ((EUID == 0)) && run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  "${run[@]}" env -i PATH="$PATH" HOME="$BOUNDARY_HOME" WINEPREFIX="$BOUNDARY_PREFIX" \
    WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" "$@"
}

boundary_settings_unwritable() {
  local dir=$E2E_WORK/unprivileged
  e2e_begin "server: a settings file the user may not write stops neither start nor end"
  rm -rf "$dir"
  mkdir -p "$dir/home"
  BOUNDARY_HOME=$dir/home
  BOUNDARY_PREFIX=$dir/prefix
  cp -a "$E2E_WORK/prefix-cache" "$BOUNDARY_PREFIX"
  # Debian's Wine keeps the name of its server folder in /tmp here; the user
  # gets a folder of its own.
  rm -f "$BOUNDARY_PREFIX/wineserver"
  local app=$BOUNDARY_PREFIX/drive_c/velkora-ro
  mkdir -p "$app"
  cp "$E2E_APP_DIR/velkora.exe" "$app/velkora.exe"
  printf '[Fenster]\r\nSchreibeLog=1\r\n' >"$app/velkora.ini"
  cp "$E2E_RUN/box_watcher.exe" "$dir/box_watcher.exe"
  cat "$E2E_SRC/prelude.vbs" "$E2E_SRC/boundary/unwritable.vbs" >"$dir/unwritable.vbs"
  ((EUID == 0)) && chown -R 65534:65534 "$dir"
  # The server's folder stays the user's (the log goes there); the settings
  # file is read-only for it.
  chmod 0444 "$app/velkora.ini"
  local sum status=0
  sum=$(md5sum <"$app/velkora.ini")
  # A wineserver of that user's own, which ends by itself a minute after
  # its last program, should this run be killed.
  (cd "$dir" && boundary_unprivileged wineserver -p60) >"$E2E_RUN/unprivileged-wineserver.out" 2>&1
  (cd "$app" && boundary_unprivileged timeout -k 5 60 wine 'C:\velkora-ro\velkora.exe' /RegServer) \
    >"$E2E_RUN/unprivileged-regserver.out" 2>&1 || status=$?
  e2e_check "/RegServer as the user exits with 0 (got $status)" test "$status" = 0
  status=0
  (cd "$dir" && boundary_unprivileged timeout -k 5 90 wine cscript //nologo unwritable.vbs) \
    >"$E2E_RUN/unwritable.vbs.out" 2>&1 || status=$?
  e2e_check "unwritable.vbs passes as the user (exit code $status)" \
    grep -aqxE 'E2E-END failures=0.?' "$E2E_RUN/unwritable.vbs.out"
  e2e_check "the settings file is unchanged" test "$(md5sum <"$app/velkora.ini")" = "$sum"
  { tr -d '\r' <"$app/velkora.log"; } >"$E2E_RUN/unwritable.velkora.log" 2>/dev/null
  local not_written='nach C:\velkora-ro\velkora.ini kann nicht geschrieben werden'
  e2e_check "the log says the start settings were not written" \
    grep -sqF "Starteinstellungen nicht gespeichert: $not_written" "$E2E_RUN/unwritable.velkora.log"
  e2e_check "the log says the window position was not written" \
    grep -sqF "Fensterposition nicht gespeichert: $not_written" "$E2E_RUN/unwritable.velkora.log"
  e2e_check "the log ends with Programmende" grep -sqE ' Programmende$' "$E2E_RUN/unwritable.velkora.log"
  (cd "$dir" && boundary_unprivileged wineserver -k) >/dev/null 2>&1
  rm -rf "$dir"
  e2e_end
}

boundary_successive_runs() {
  local dir=$E2E_SRC/boundary started i failed=0
  rm -f "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log"

  # The client's pauses after each release step over the first 260 ms of
  # the end of the server before: still serving, and the moment (about
  # 250 ms after the release) when it withdraws its class object while a
  # client that just found it must still be served, or a new server must
  # wait for it. A run that comes later finds no server and waits for
  # Wine's activation, a second or more each; those moments (the last 250
  # ms, ending, gone) are the next case's. Pauses up to 400 ms made 1000
  # runs take 14 minutes here, 40 % of them waiting for a start.
  e2e_begin "server: 1000 successive create/call/release runs, each meeting the end of the one before"
  started=$SECONDS
  e2e_check "1000 runs without a failure" boundary_successive successive-1000 1000 0 260
  e2e_log "    1000 successive runs took $((SECONDS - started)) s"
  e2e_check "the last server ended" velkora_wait_gone
  e2e_end

  e2e_begin "server: runs started while the server before is in its last 250 ms, ending or gone"
  e2e_check "40 runs without a failure" boundary_successive successive-last 40 240 520
  e2e_check "the last server ended" velkora_wait_gone
  e2e_end

  e2e_begin "server: scripts started one after another"
  started=$SECONDS
  for ((i = 1; i <= 10; i++)); do
    e2e_cscript "$dir/successive.vbs" 60 || failed=$((failed + 1))
  done
  e2e_log "    10 successive scripts took $((SECONDS - started)) s"
  e2e_check "10 scripts, $failed failed" test "$failed" = 0
  e2e_check "the last server ended" velkora_wait_gone
  e2e_end
}

# Starts hold.vbs in the background (its PID in BOUNDARY_HOLDER) and waits
# until it holds an object.
boundary_hold() {
  local i
  rm -f "$E2E_RUN/hold.holding" "$E2E_RUN/hold.release"
  e2e_cscript "$E2E_SRC/boundary/hold.vbs" 180 &
  BOUNDARY_HOLDER=$!
  for ((i = 0; i < 600; i++)); do
    [[ -e $E2E_RUN/hold.holding ]] && break
    sleep 0.1
  done
  e2e_check "the script holds an object" test -e "$E2E_RUN/hold.holding"
}

# Lets hold.vbs go on and waits for its end; status 0 when it passed.
boundary_release() {
  : >"$E2E_RUN/hold.release"
  wait "$BOUNDARY_HOLDER"
}

boundary_start_waits_for_running_server() {
  local status i sums
  e2e_begin "server: a start by COM that meets a running server waits for its end"
  velkora_preset_ini 'SchreibeLog=1'
  boundary_hold
  sums=$(md5sum "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log")
  e2e_start_bg "$E2E_APP_DIR" "$E2E_RUN/waiting.out" "$E2E_EXE_WIN" -Embedding
  local waiting=$E2E_LAST_PID
  # Not longer: the start waits five seconds at most, and the running server
  # takes its time to end after the release.
  sleep 1
  e2e_check "the second start waits" e2e_pid_alive "$waiting"
  e2e_check "... and leaves settings and log alone meanwhile" \
    test "$(md5sum "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log")" = "$sums"
  status=0; boundary_release || status=$?
  e2e_check "hold.vbs passes" test "$status" = 0
  # The first server ends after the release; the waiting one starts. Both
  # take their time on a loaded machine: up to a minute before the check.
  # Each look reads the log once: the new server empties and refills it
  # meanwhile, and three reads could see three different files.
  local released=$SECONDS log
  for ((i = 0; i < 600; i++)); do
    log=$(velkora_log)
    grep -q ' Nummmer:1 Wert:<-Embedding>$' <<<"$log" && grep -q 'Application.Run$' <<<"$log" &&
      ! grep -q 'VelkoraVersion()' <<<"$log" && break
    sleep 0.1
  done
  e2e_log "    the waiting start took over in $((SECONDS - released)) s"
  e2e_check "the waiting start took over: a fresh log" velkora_log_has_in_order \
    'Start Velkora Version 1.1.3' ' Nummmer:1 Wert:<-Embedding>' 'Application.Run'
  e2e_check "... without the first server's calls" eval "! velkora_log | grep -q 'VelkoraVersion()'"
  e2e_check "a script is served by it" e2e_cscript "$E2E_SRC/boundary/successive.vbs" 60
  velkora_keep waiting
  e2e_check "it ended after the release" e2e_wait_pid_end "$waiting" 100
  e2e_check "no server left" velkora_wait_gone
  e2e_end
}

boundary_registration_while_held() {
  local status
  e2e_begin "server: /UnregServer and /RegServer while a script holds an object"
  velkora_preset_ini 'SchreibeLog=1'
  boundary_hold
  local sums
  sums=$(md5sum "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log")
  status=0; velkora_run unreg-held /UnregServer || status=$?
  e2e_check "/UnregServer beside the running server exits with 0 (got $status)" test "$status" = 0
  velkora_check_unregistered
  status=0; velkora_run reg-held /RegServer || status=$?
  e2e_check "/RegServer beside the running server exits with 0 (got $status)" test "$status" = 0
  velkora_check_registered
  e2e_check "the running server's settings and log were left alone" \
    test "$(md5sum "$E2E_APP_DIR/velkora.ini" "$E2E_APP_DIR/velkora.log")" = "$sums"
  status=0; boundary_release || status=$?
  e2e_check "hold.vbs passes" test "$status" = 0
  velkora_keep hold.vbs
  e2e_check "the server ended" velkora_wait_gone
  e2e_end
}

boundary_local_server_quoted() {
  local dir=$E2E_SRC/boundary status
  e2e_begin "server: LocalServer32 in double quotes, path with blanks"
  # The form registered where the file system has no short names.
  local blank='C:\velkora e2e blank\velkora.exe'
  mkdir -p "$E2E_DRIVE_C/velkora e2e blank"
  cp "$E2E_APP_DIR/velkora.exe" "$E2E_DRIVE_C/velkora e2e blank/velkora.exe"
  rm -f "$E2E_DRIVE_C/velkora e2e blank/velkora.ini"
  wine reg add "HKCR\\CLSID\\$E2E_CLSID\\LocalServer32" /ve /d "\"$blank\"" /f >"$E2E_RUN/reg-add.out" 2>&1
  e2e_check "the entry holds the quoted path" velkora_reg_is "HKCR\\CLSID\\$E2E_CLSID\\LocalServer32" "\"$blank\""
  e2e_check "a script starts the server through it" e2e_cscript "$dir/successive.vbs" 60
  e2e_check "... the one in the folder with blanks, which wrote its settings there" \
    test -e "$E2E_DRIVE_C/velkora e2e blank/velkora.ini"
  e2e_check "the server ended" velkora_wait_gone
  status=0; velkora_run regserver-back /RegServer || status=$?
  e2e_check "registered from C:\\velkora-e2e again" test "$status" = 0
  e2e_end
}

e2e_boundary_suite() {
  boundary_build_client || return 1
  # The runs count every failure, also one that a server killed by a suite
  # before would cause.
  e2e_fresh_session || return 1
  boundary_successive_runs
  boundary_start_waits_for_running_server
  boundary_registration_while_held
  boundary_local_server_quoted
  boundary_settings_unwritable
}
