# The examples of the reference for script authors (docs/referenz.md), run
# as they stand against velkora.exe: every VBScript and JScript example is
# taken out of the reference, run with cscript, and what it prints must be
# exactly the output block that follows it in the reference. So the
# reference cannot drift from the server.
#
# The examples are written for a German Windows (decimal comma, "Wahr"),
# with the sample tariffs of examples/lcr/einstellungen in the server's
# settings file, as the reference says.

# referenz_run_example <file> <expected>: runs one example from the run
# folder and compares its output (code page 850/437, whose German letters
# are the same bytes, turned into UTF-8) with the expected block.
referenz_run_example() {
  local file=$1 expected=$2 name status=0
  name=$(basename "$file")
  local dir
  dir=$(dirname "$file")
  # Saved as a Windows user's editor saves a script: ANSI, CR LF.
  iconv -f UTF-8 -t CP1252 "$file" | sed 's/$/\r/' >"$file.ansi" && mv "$file.ansi" "$file" || return 1
  # Wine's cscript ends with 0 and no word on a script error: only an
  # example that reaches its last line prints the marker.
  case $name in
    *.vbs) printf '\r\nWScript.Echo "REFERENZ-ENDE"\r\n' >>"$file" ;;
    *.js) printf '\r\nWScript.Echo("REFERENZ-ENDE");\r\n' >>"$file" ;;
  esac
  e2e_timed "$dir" 120 env LC_ALL=de_DE.UTF-8 wine cscript //nologo "$name" >"$file.raw" 2>"$file.err" || status=$?
  tr -d '\r' <"$file.raw" | iconv -f CP850 -t UTF-8 >"$file.out"
  if [[ $(tail -n 1 "$file.out") != REFERENZ-ENDE ]]; then
    e2e_log "    $name: no end marker (exit code $status; script error or timeout)"
    sed 's/^/      | /' "$file.out" "$file.err" >&2
    return 1
  fi
  head -n -1 "$file.out" >"$file.got"
  diff -u "$expected" "$file.got" >"$file.diff" || {
    e2e_log "    $name prints other than the reference shows:"
    sed 's/^/      | /' "$file.diff" >&2
    return 1
  }
}

# referenz_log_has <log> <protokoll>: every entry of the block ends a log
# line (after its time stamp), in the block's order; "..." lines are skipped
# and %TEMP% stands for the user's temp folder. The log is in the ANSI code
# page, the block UTF-8.
referenz_log_has() {
  iconv -f CP1252 -t UTF-8 "$1" | tr -d '\r' | REFERENZ_TEMP=$REFERENZ_TEMP awk '
    function temp_replaced(text,   i, done) {
      done = ""
      while ((i = index(text, "%TEMP%")) > 0) {
        done = done substr(text, 1, i - 1) ENVIRON["REFERENZ_TEMP"]
        text = substr(text, i + 6)
      }
      return done text
    }
    FNR == NR { if ($0 != "...") want[++n] = temp_replaced($0); next }
    k <= n { t = " " want[k]; if (length($0) > length(t) && substr($0, length($0) - length(t) + 1) == t) k++ }
    BEGIN { k = 1 }
    END { if (k <= n) { print "    missing in the log: <" want[k] ">" > "/dev/stderr"; exit 1 } }
  ' "$2" -
}

e2e_referenz_suite() {
  local doc=$E2E_SRC/../../../docs/referenz.md
  local samples=$E2E_SRC/../../../examples/lcr
  local dir=$E2E_RUN/referenz
  rm -rf "$dir"
  mkdir -p "$dir"

  e2e_begin "referenz: docs/referenz.md has a VBScript and a JScript example with output for every method"
  e2e_check "the examples can be taken out" awk -v out="$dir" -f "$E2E_SRC/referenz/extract.awk" "$doc"
  local method
  for method in ShowInfo WindowExists CloseWindow GetRasConnection IniWrite IniRead IniDeleteKey \
      GetRasLCRName GetRasLCRInfo WndGetList WndClose RasClose VelkoraVersion IniReadSectionValues \
      IniReadSection IniReadSections VelkoraIniname GetPerfStats; do
    e2e_check "$method: VBScript example" grep -qP "^\\d+\\tvbs\\t$method\\t" "$dir/index"
    e2e_check "$method: JScript example" grep -qP "^\\d+\\tjs\\t$method\\t" "$dir/index"
  done
  e2e_end
  [[ -s $dir/index ]] || return

  # A server that a suite before had to kill leaves the session unable to
  # start another one; a fresh session rules that out.
  e2e_fresh_session || return 1
  # The temp folder the examples' INI files go to, as the log names it.
  (cd "$dir" && wine cmd /c echo %TEMP% >temp.out 2>&1)
  REFERENZ_TEMP=$(tr -d '\r\n' <"$dir/temp.out")
  # The sample tariffs as the server's settings, the log on.
  velkora_preset_ini 'SchreibeLog=1'
  tr -d '\r' <"$samples/einstellungen/velkora.ini" | sed 's/$/\r/' >>"$E2E_APP_DIR/velkora.ini"

  local id ext section line
  while IFS=$'\t' read -r id ext section line; do
    e2e_begin "referenz: $section, $( [[ $ext == vbs ]] && echo VBScript || echo JScript) example (line $line)"
    e2e_check "prints what the reference shows" referenz_run_example "$dir/$id.$ext" "$dir/$id.expected"
    # The server deletes its log when it starts: each example's log is read
    # once its server has ended.
    e2e_check "the server ended" velkora_wait_gone
    cp "$E2E_APP_DIR/velkora.log" "$dir/$id.velkora.log" 2>/dev/null
    if [[ -f $dir/$id.protokoll ]]; then
      e2e_check "writes the log entries the reference shows" referenz_log_has "$dir/$id.velkora.log" "$dir/$id.protokoll"
    fi
    e2e_end
  done <"$dir/index"
}
