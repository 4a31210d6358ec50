# The least-cost-routing suite against velkora.exe, after the server suite
# registered it from $E2E_APP_DIR. The sample configurations of
# examples/lcr are written for German settings (dates, decimal comma), so
# the scripts and the server they start run with a German locale.

# lcr_box_seen <boxes> <text>: one of the boxes has the engine's caption and
# this text, answered with OK.
lcr_box_seen() {
  grep -qxF "Fehler in Velkora.GetRasLCR"$'\t'"$2"$'\t'"ok" <<<"$1"
}

# lcr_ini_value <section> <key>: a value of the server's settings file.
lcr_ini_value() {
  tr -d '\r' 2>/dev/null <"$E2E_APP_DIR/velkora.ini" | awk -F= -v section="[$1]" -v key="$2" '
    /^\[/ { in_section = (tolower($0) == tolower(section)); next }
    in_section && tolower($1) == tolower(key) { print substr($0, index($0, "=") + 1); found = 1; exit }
    END { exit !found }'
}

e2e_lcr_suite() {
  local dir=$E2E_SRC/lcr samples before boxes
  samples=$(cd "$E2E_SRC/../../../examples/lcr" && pwd)
  # TK32's files where the samples' TK32Pfad expects them, the samples
  # beside the server for the scripts to put in place.
  mkdir -p "$E2E_DRIVE_C/Programme/TK32" "$E2E_APP_DIR/lcr-samples"
  cp "$samples"/tk32/* "$E2E_DRIVE_C/Programme/TK32/"
  cp -r "$samples"/einstellungen "$samples"/tk32-modus1 "$samples"/tk32-modus2 "$E2E_APP_DIR/lcr-samples/"
  # A server that a suite before had to kill leaves the session unable to
  # start another one; a fresh session rules that out.
  e2e_fresh_session || return 1
  local saved_lc_all=${LC_ALL-unset}
  # Wine takes the locale from LC_ALL even where glibc lacks it (bash would
  # warn about that).
  { export LC_ALL=de_DE.UTF-8 E2E_DECIMAL=','; } 2>/dev/null

  e2e_begin "lcr: GetRasLCRName and GetRasLCRInfo from VBScript, every sample mode"
  velkora_preset_ini 'SchreibeLog=1'
  before=$(e2e_box_count)
  e2e_check "lcr.vbs passes" e2e_cscript "$dir/lcr.vbs" 180
  velkora_keep lcr.vbs
  e2e_check "the server process ended" velkora_wait_gone
  boxes=$(e2e_boxes_since "$before")
  e2e_check "two boxes, one for each duration that is no integer" test "$(grep -c . <<<"$boxes")" = 2
  e2e_check "box for a text" lcr_box_seen "$boxes" "Exception: 'zwei Minuten' ist kein gültiger Integerwert"
  e2e_check "box for a fraction" lcr_box_seen "$boxes" "Exception: '1,5' ist kein gültiger Integerwert"
  # The log is in the ANSI code page.
  local refused
  refused=$(iconv -f UTF-8 -t CP1252 <<<" Exception: 'zwei Minuten' ist kein gültiger Integerwert")
  e2e_check "the log holds call, evaluation and result lines" velkora_log_has_in_order \
    'GetRasLCRName("30")' ' Providernamen aus C:\velkora-e2e\velkora.ini einlesen' \
    ' Provider: Sekundentakt' \
    '  Gesamtkosten: 0,006' ' --> "Sekundentakt"' \
    'GetRasLCRInfo("60",";")' ' --> "Minutentakt:0,0099;Sekundentakt:0,012;Grundgebuehr:0,1049"' \
    '  Tarifdatei flinknet einlesen' \
    'GetRasLCRName("zwei Minuten")' "$refused" ' --> ""'
  e2e_end

  e2e_begin "lcr: JScript, and an unknown TK32Mode"
  velkora_preset_ini 'SchreibeLog=1'
  before=$(e2e_box_count)
  e2e_check "lcr.js passes" e2e_cscript "$dir/lcr.js" 180
  velkora_keep lcr.js
  e2e_check "the server process ended" velkora_wait_gone
  boxes=$(e2e_boxes_since "$before")
  e2e_check "two boxes for each of the two calls" test "$(grep -c . <<<"$boxes")" = 4
  e2e_check "first the mode, then no providers" test "$(head -n 2 <<<"$boxes" | cut -f2 | tr '\n' '|')" = \
    'TK32Modus 7 unbekannt|Keine Provider zum Auswerten gefunden|'
  e2e_check "the log holds both reports" velkora_log_has_in_order \
    ' TK32Modus 7 unbekannt' ' Keine Provider zum Auswerten gefunden' ' --> ""'
  e2e_end

  # The disk search walks every fixed drive; Wine's Z: is the whole Linux
  # file system, so it runs only in a prefix without Z:.
  e2e_begin "lcr: tk32.ini found by the disk search (prefix without Z:)"
  local z_link=$WINEPREFIX/dosdevices/z:
  local z_target
  z_target=$(readlink "$z_link")
  rm -f "$z_link"
  e2e_check "the prefix has no Z: now" test ! -e "$z_link"
  velkora_preset_ini 'SchreibeLog=1'
  printf '[LCR]\r\nTK32Mode=2\r\nTK32Pfad=C:\\TK32 fehlt hier\\\r\n' >>"$E2E_APP_DIR/velkora.ini"
  # The run folder lies on Z:, so the script runs from the server's folder.
  e2e_check "search.vbs passes" e2e_cscript "$dir/search.vbs" 300 "$E2E_APP_DIR"
  velkora_keep search.vbs
  e2e_check "the server process ended" velkora_wait_gone
  e2e_check "the folder found is stored in TK32Pfad" \
    test "$(lcr_ini_value LCR TK32Pfad)" = 'C:\Programme\TK32\'
  e2e_check "the log tells of the search once" test \
    "$(velkora_log | grep -c ' tk32.ini nicht in TK32Pfad gefunden, Festplatte durchsuchen$')" = 1
  [[ -n $z_target ]] && ln -s "$z_target" "$z_link"
  e2e_end

  { if [[ $saved_lc_all == unset ]]; then unset LC_ALL; else export LC_ALL=$saved_lc_all; fi; } 2>/dev/null
  unset E2E_DECIMAL
}
