# The harness's own tests: they need nothing but Wine and Xvfb, and prove that
# boxes are seen, recorded and answered, that windows can be found and
# closed, and that a script's failure is noticed.

e2e_smoke_suite() {
  local dir=$E2E_SRC/smoke before

  e2e_begin "smoke: message boxes of the script host"
  before=$(e2e_box_count)
  e2e_check "msgbox.vbs passes" e2e_cscript "$dir/msgbox.vbs"
  local boxes
  boxes=$(e2e_boxes_since "$before")
  e2e_check "the watcher recorded four boxes" test "$(printf '%s\n' "$boxes" | grep -c .)" = 4
  e2e_check "caption and text with umlauts and line break recorded" \
    grep -qxF "$(printf 'E2E Smoke\tGrüße vom Test\\r\\nzweite Zeile\tok')" <<<"$boxes"
  e2e_check "Yes pressed on the first question" grep -qxF "$(printf 'E2E Frage\tWeiter?\tyes')" <<<"$boxes"
  e2e_check "No pressed on the second question" grep -qxF "$(printf 'E2E Frage\tWirklich?\tno')" <<<"$boxes"
  e2e_check "the Popup recorded" grep -qxF "$(printf 'E2E Popup\tPopup-Text\tok')" <<<"$boxes"
  e2e_end

  e2e_begin "smoke: windows and processes from JScript"
  before=$(e2e_box_count)
  e2e_check "windows.js passes" e2e_cscript "$dir/windows.js"
  e2e_check "the JScript Popup recorded" \
    grep -qxF "$(printf 'E2E JScript\tAus JScript\tok')" <<<"$(e2e_boxes_since "$before")"
  e2e_check "no notepad.exe left" e2e_wait_no_process notepad.exe 150
  e2e_end

  # The runner must not take a silent script error, or a missing or wrong
  # exit code, for a pass.
  e2e_begin "smoke: the runner notices broken scripts"
  printf 'Dim x\nx = 1 / 0\nE2eFinish\n' >"$E2E_RUN/broken_error.vbs.in"
  printf 'WScript.Echo "E2E-END failures=0"\nWScript.Quit 3\n' >"$E2E_RUN/broken_exit.vbs.in"
  printf 'WScript.Echo "E2E-END failures=1"\nWScript.Quit 0\n' >"$E2E_RUN/broken_count.vbs.in"
  printf 'check(false, "meant to fail");\ne2eFinish();\n' >"$E2E_RUN/broken_check.js.in"
  local broken
  for broken in broken_error.vbs broken_exit.vbs broken_count.vbs broken_check.js; do
    mv "$E2E_RUN/$broken.in" "$E2E_RUN/in-$broken"
    # Reported failures of these scripts are expected; keep them off the log.
    e2e_check "$broken is reported as failed" eval "! e2e_cscript '$E2E_RUN/in-$broken' 2>/dev/null"
  done
  e2e_end
}
