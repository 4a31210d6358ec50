# The server under load: eight script clients at once against one server,
# each making 1000 calls and checking every answer, then the log checked
# line by line: every call's lines there, whole, in the order its client
# made them. Sourced by run.sh after server/server.sh, whose installed
# server it uses.

LOAD_CLIENTS=8
LOAD_ROUNDS=250 # four calls a round
LOAD_PIDS=()

# load_start_client <n>: starts client n in the background; the last two
# are JScript, the others VBScript.
load_start_client() {
  local n=$1 ext=vbs
  ((n > LOAD_CLIENTS - 2)) && ext=js
  (cd "$E2E_RUN" && exec timeout -k 5 900 wine cscript //nologo "load-client.$ext" "$n" "$LOAD_ROUNDS" \
     >"$E2E_RUN/load-$n.out" 2>&1) &
  LOAD_PIDS[n]=$!
  E2E_STARTED_PIDS+=("$!")
}

# load_wait_ready <first> <last>: waits until those clients hold their
# objects (up to two minutes: eight cscript starts on a busy machine).
load_wait_ready() {
  local i n missing
  for ((i = 0; i < 1200; i++)); do
    missing=0
    for ((n = $1; n <= $2; n++)); do [[ -e $E2E_RUN/load-$n.ready ]] || missing=1; done
    ((missing)) || return 0
    sleep 0.1
  done
  return 1
}

# Status 0 when client n ended with its end marker, no failure, exit code 0.
load_client_passed() {
  local n=$1 status=0
  wait "${LOAD_PIDS[n]}" || status=$?
  tr -d '\r' <"$E2E_RUN/load-$n.out" | grep -aE '^(FAIL|INFO)' | sed "s/^/    client $n: /" >&2
  tr -d '\r' <"$E2E_RUN/load-$n.out" | grep -aqx 'E2E-END failures=0' && ((status == 0))
}

# Reads the log as it is on disk (CR LF lines) and checks that it holds
# exactly: the start lines, every client's calls with their type and result
# lines right after them, each client's calls in its order, and
# "Programmende" last. Prints what differs.
load_check_log() {
  # The path goes through the environment: awk -v would take its
  # backslashes for escapes.
  LOAD_EXE=$E2E_EXE_WIN LC_ALL=C awk -v clients="$LOAD_CLIENTS" -v rounds="$LOAD_ROUNDS" '
    function bad(what) { if (++errors <= 10) printf "    log line %d: %s: <%s>\n", NR, what, line > "/dev/stderr" }
    BEGIN {
      stamp = "^[0-9][0-9]?[./][0-9][0-9]?[./][0-9][0-9][0-9][0-9]( [0-9][0-9]?:[0-9][0-9]:[0-9][0-9]( [AP]M)?)? "
      start[1] = "Start Velkora Version 1.1.3"; start[2] = "Kommandozeileninformation"
      start[3] = " Anzahl Parameter: 1"; start[4] = " Nummmer:0 Wert:<" ENVIRON["LOAD_EXE"] ">"
      start[5] = " Nummmer:1 Wert:<-Embedding>"; start[6] = "Application.Initialize"
      start[7] = "Application.CreateForm"; start[8] = "Application.Run"
      for (n = 1; n <= clients; n++) { round[n] = 1; step[n] = 0 }
    }
    {
      line = $0
      if (sub(/\r$/, "", line) != 1) { bad("no CR LF at the end"); next }
      if (!match(line, stamp)) { bad("no time stamp"); next }
      entry = substr(line, RLENGTH + 1)
      if (ended) { bad("after Programmende"); next }
      if (NR <= 8) { if (entry != start[NR]) bad("start line " NR); next }
      if (nwant > 0) {
        if (entry != want[1]) bad("instead of <" want[1] ">")
        for (k = 1; k < nwant; k++) want[k] = want[k + 1]
        nwant--
        next
      }
      if (entry == "Programmende") { ended = 1; next }
      if (entry == "VelkoraVersion()") { versions++; want[1] = " --> \"010103\""; nwant = 1; next }
      if (!match(entry, /^Ini(Write|Read)\("[^"]*","Last","Client[0-9]+",\[[0-9]*\]\)$/)) { bad("unexpected"); next }
      split(entry, part, "\"")
      if (ini == "") ini = part[2]
      if (part[2] != ini) bad("another file")
      n = substr(part[6], 7) + 0
      arg = substr(part[7], 3, length(part[7]) - 4)
      if (n < 1 || n > clients || round[n] > rounds) { bad("no such call expected"); next }
      v = n * 1000 + round[n]
      kind = substr(entry, 1, 8) == "IniWrite" ? 0 : (arg == "0" ? 1 : 2)
      if (kind != step[n]) bad("client " n " out of order")
      if (kind == 0) { if (arg != v) bad("client " n " wrote another value"); want[1] = " Integer"; nwant = 1 }
      if (kind == 1) { want[1] = " Integer"; want[2] = " --> [" v "]"; nwant = 2 }
      if (kind == 2) { if (arg != "") bad("default"); want[1] = " String"; want[2] = " --> [" v "]"; nwant = 2 }
      calls++
      if (++step[n] == 3) { step[n] = 0; round[n]++ }
    }
    END {
      if (NR < 8) { line = ""; bad("start lines missing") }
      if (!ended) { line = ""; bad("no Programmende") }
      if (nwant > 0) { line = ""; bad("the last call incomplete") }
      for (n = 1; n <= clients; n++) if (round[n] != rounds + 1 || step[n] != 0) {
        line = ""; bad("client " n " stopped at round " round[n] " step " step[n]) }
      if (versions != clients * rounds) { line = ""; bad(versions " VelkoraVersion calls") }
      printf "    log: %d lines, %d INI calls, %d VelkoraVersion calls, %d errors\n", NR, calls, versions, errors > "/dev/stderr"
      exit (errors > 0)
    }' "$E2E_APP_DIR/velkora.log"
}

# The values each client wrote last, in load.ini.
load_check_ini() {
  local n got
  for ((n = 1; n <= LOAD_CLIENTS; n++)); do
    got=$(tr -d '\r' <"$E2E_RUN/load.ini" | grep -x "Client$n=.*" | cut -d= -f2)
    [[ $got == $((n * 1000 + LOAD_ROUNDS)) ]] || { e2e_log "    load.ini: Client$n=<$got>"; return 1; }
  done
}

e2e_load_suite() {
  local dir=$E2E_SRC/load n started passed=0
  e2e_begin "server: $LOAD_CLIENTS script clients with $((4 * LOAD_ROUNDS)) calls each at once, logging on"
  velkora_preset_ini 'SchreibeLog=1'
  rm -f "$E2E_RUN"/load-*.ready "$E2E_RUN/load.go" "$E2E_RUN/load.ini"
  cat "$E2E_SRC/prelude.vbs" "$dir/client.vbs" >"$E2E_RUN/load-client.vbs"
  cat "$E2E_SRC/prelude.js" "$dir/client.js" >"$E2E_RUN/load-client.js"
  # The first client starts the server; the others find it running, so
  # that all of them are served by one process.
  load_start_client 1
  e2e_check "the first client holds an object" load_wait_ready 1 1
  for ((n = 2; n <= LOAD_CLIENTS; n++)); do load_start_client "$n"; done
  e2e_check "every client holds an object" load_wait_ready 1 "$LOAD_CLIENTS"
  e2e_check "one server serves them all" test "$(velkora_pids | wc -l)" = 1
  started=$SECONDS
  : >"$E2E_RUN/load.go"
  for ((n = 1; n <= LOAD_CLIENTS; n++)); do load_client_passed "$n" && passed=$((passed + 1)); done
  e2e_log "    $LOAD_CLIENTS clients made $((LOAD_CLIENTS * 4 * LOAD_ROUNDS)) calls in $((SECONDS - started)) s"
  e2e_check "every client passed ($passed of $LOAD_CLIENTS)" test "$passed" = "$LOAD_CLIENTS"
  e2e_check "the server ended" velkora_wait_gone
  velkora_keep load
  e2e_check "the log holds every call whole and in order" load_check_log
  e2e_check "load.ini holds each client's last value" load_check_ini
  e2e_end
}
