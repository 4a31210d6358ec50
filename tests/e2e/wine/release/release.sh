#!/usr/bin/env bash
# The release for Windows users, end to end: scripts/release.sh makes the
# zip from a build's velkora.exe; this checks the checksum file and the
# entries, unpacks the zip into a fresh Wine prefix, registers the server
# from there as an administrator would, runs both sample scripts and
# unregisters it. Prints PASS/FAIL per test; exit code non-zero on a failure.
#
#   tests/e2e/wine/release/release.sh --build-dir <build/mingw64> [--work <dir>]
set -uo pipefail

work=release-e2e
# shellcheck source=options.sh
source "$(dirname "$0")/options.sh"
mkdir -p "$work"
trap 'e2e_teardown' EXIT
trap 'exit 130' INT TERM

name=velkora-$version-win64
out=$work/out
zip_file=$out/$name.zip

# The entries the zip must hold: server, read-me, reference, and every
# sample of examples/ (scripts and tariff configurations).
release_expected_entries() {
  {
    printf '%s\n' "$name/velkora.exe" "$name/LIESMICH.txt" "$name/referenz.html"
    (cd "$root/examples" && find . -maxdepth 1 -type f \( -name '*.vbs' -o -name '*.js' \) && find lcr -type f) |
      sed -e 's|^\./||' -e "s|^|$name/beispiele/|"
  } | LC_ALL=C sort
}

release_checksum_line_ok() {
  grep -qxE "[0-9a-f]{64}  $name\\.zip" "$zip_file.sha256" && test "$(wc -l <"$zip_file.sha256")" = 1
}

release_readme_ok() {
  local text=$work/LIESMICH.txt
  unzip -p "$zip_file" "$name/LIESMICH.txt" >"$text" || return 1
  # UTF-8 with a byte order mark, Windows line ends on every line.
  [[ $(head -c 3 "$text" | od -An -tx1 | tr -d ' ') == efbbbf ]] || { e2e_log "    no byte order mark"; return 1; }
  iconv -f UTF-8 -t UTF-8 "$text" >/dev/null || { e2e_log "    not UTF-8"; return 1; }
  [[ $(grep -c $'\r$' "$text") == "$(wc -l <"$text")" ]] || { e2e_log "    a line without CR"; return 1; }
  local word
  for word in '/RegServer' '/UnregServer' 'velkora.ini' 'velkora.log' 'SchreibeLog' 'Testmodus'; do
    grep -qF -- "$word" "$text" || { e2e_log "    the read-me does not mention $word"; return 1; }
  done
}

# The reference is one German HTML page that needs nothing from outside
# (styles inline, no links off the page) and has a section for every method.
release_referenz_ok() {
  local page=$work/referenz.html method
  unzip -p "$zip_file" "$name/referenz.html" >"$page" || return 1
  grep -q '<html[^>]* lang="de"' "$page" || { e2e_log "    no German page"; return 1; }
  if grep -qiE '(src|href)="(https?:)?//|<link[^>]*stylesheet' "$page"; then
    e2e_log "    the page loads something from outside"; return 1
  fi
  for method in ShowInfo WindowExists CloseWindow GetRasConnection IniWrite IniRead IniDeleteKey \
      GetRasLCRName GetRasLCRInfo WndGetList WndClose RasClose VelkoraVersion IniReadSectionValues \
      IniReadSection IniReadSections VelkoraIniname GetPerfStats; do
    grep -qF "<h2 id=\"${method,,}\"><code>$method</code></h2>" "$page" ||
      { e2e_log "    no section for $method"; return 1; }
  done
}

release_make() {
  local status=0
  e2e_begin "release: scripts/release.sh makes $name.zip and its checksum file"
  rm -rf "$out" "$work/again"
  "$root/scripts/release.sh" --no-build --build-dir "$build_dir" --out "$out" >"$work/release.out" 2>&1 || status=$?
  e2e_check "release.sh exits with 0 (got $status; see $work/release.out)" test "$status" = 0
  e2e_check "the zip is there" test -s "$zip_file"
  e2e_check "the checksum file holds one line in sha256sum's form" release_checksum_line_ok
  e2e_check "sha256sum -c accepts the zip" eval "(cd '$out' && sha256sum --check --strict --quiet '$name.zip.sha256')"
  e2e_check "unzip finds no fault in it" eval "unzip -tq '$zip_file' >'$work/unzip-test.out'"
  e2e_check "it holds exactly the server, the read-me, the reference and the samples" \
    diff <(release_expected_entries) <(unzip -Z1 "$zip_file" | LC_ALL=C sort)
  e2e_check "the read-me is a Windows text naming the commands, files and keys" release_readme_ok
  e2e_check "the reference is a self-contained German page with every method" release_referenz_ok
  e2e_check "made again from the same sources, the zip is the same" eval \
    "'$root/scripts/release.sh' --no-build --build-dir '$build_dir' --out '$work/again' >'$work/release-again.out' 2>&1 &&
     cmp '$zip_file' '$work/again/$name.zip' && cmp '$zip_file.sha256' '$work/again/$name.zip.sha256'"
  e2e_check "so is the installer package, with its checksum file" eval \
    "cmp '$out/velkora-$version-x64.msi' '$work/again/velkora-$version-x64.msi' &&
     cmp '$out/velkora-$version-x64.msi.sha256' '$work/again/velkora-$version-x64.msi.sha256'"
  e2e_end
}

# release_script <name> <folder (Linux)> [locale]: runs a sample from its
# folder, with LC_ALL set to the locale when given (cscript and the server
# it starts take it); output in <run>/<name>.out without CR.
release_script() {
  local status=0 locale=()
  [[ -n ${3:-} ]] && locale=("LC_ALL=$3")
  e2e_timed "$2" 180 env "${locale[@]}" wine cscript //nologo "$1" >"$E2E_RUN/$1.raw" 2>"$E2E_RUN/$1.err" || status=$?
  tr -d '\r' <"$E2E_RUN/$1.raw" >"$E2E_RUN/$1.out"
  return "$status"
}

# release_has_lines <file> <line...>: each line occurs in the file as a whole line.
release_has_lines() {
  local file=$1 line missing=0
  shift
  for line in "$@"; do
    grep -qxF -- "$line" "$file" || { e2e_log "    missing in $(basename "$file"): <$line>"; missing=1; }
  done
  return "$missing"
}

release_install_and_run() {
  local status app app_win samples before
  e2e_begin "release: unpacked into a fresh Wine prefix, registered from there, the samples run"
  if ! e2e_setup "$work"; then
    e2e_check "the Wine prefix, display and wineserver start" false
    e2e_end
    return
  fi
  local clsid='{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}'
  e2e_check "nothing registered in the fresh prefix" eval "! e2e_reg_key_exists 'HKCR\\ScriptFunctions.App'"
  unzip -q "$zip_file" -d "$E2E_DRIVE_C"
  app=$E2E_DRIVE_C/$name
  app_win="C:\\$name"
  samples=$app/beispiele
  status=0
  e2e_timed "$app" 60 wine "$app_win\\velkora.exe" /RegServer >"$E2E_RUN/regserver.out" 2>&1 || status=$?
  e2e_check "velkora.exe /RegServer from the unpacked folder exits with 0 (got $status)" test "$status" = 0
  local server32
  server32=$(e2e_reg_value "HKCR\\CLSID\\$clsid\\LocalServer32")
  e2e_check "LocalServer32 names the unpacked velkora.exe: <$server32>" test "${server32,,}" = "${app_win,,}\\velkora.exe"
  e2e_check "ScriptFunctions.App names the class" eval \
    "[[ \"\$(e2e_reg_value 'HKCR\\ScriptFunctions.App\\Clsid')\" == '$clsid' ]]"

  before=$(e2e_box_count)
  status=0; release_script demo.js "$samples" || status=$?
  e2e_check "demo.js exits with 0 (got $status)" test "$status" = 0
  e2e_check "demo.js prints what the server answered" release_has_lines "$E2E_RUN/demo.js.out" \
    'VelkoraVersion = 010103' "VelkoraIniname = $app_win\\velkora.ini" \
    "INI file $app_win\\beispiele\\demo-js.ini" \
    '  IniRead Anbieter = Beispiel (string)' '  IniRead Minuten = 42 (number)' \
    '  IniRead Aktiv = true (boolean)' '  IniRead Fehlt = Vorgabe (string)' \
    '  IniReadSection = Anbieter;Minuten;Aktiv (string)' \
    '  after IniDeleteKey = Anbieter=Beispiel;Aktiv=1 (string)' \
    'IniRead with two arguments: error 0x8002000E' 'Demo beendet.'
  e2e_check "the server ended after demo.js" e2e_wait_no_process velkora.exe 100

  # demo.vbs also asks for the cheapest provider: with the sample tariffs
  # of beispiele\lcr\einstellungen taken over as the read-me says, and
  # German formats, for which the samples are written.
  cp "$samples/lcr/einstellungen/velkora.ini" "$app/velkora.ini"
  status=0; release_script demo.vbs "$samples" de_DE.UTF-8 || status=$?
  e2e_check "demo.vbs exits with 0 (got $status)" test "$status" = 0
  e2e_check "demo.vbs prints what the server answered" release_has_lines "$E2E_RUN/demo.vbs.out" \
    'VelkoraVersion = 010103' "VelkoraIniname = $app_win\\velkora.ini" \
    '  IniRead Minuten = 42 (Long)' '  IniRead Preis = 1,5 (Double)' '  IniRead Aktiv = Wahr (Boolean)' \
    'GetRasLCRName(30)   = Sekundentakt' 'GetRasLCRName(3600) = Grundgebuehr' \
    '  Err.Number      = -2147418113 (0x8000FFFF)' '  Err.Source      = ScriptFunctions.App' 'Demo beendet.'
  e2e_check "no error box came up" test "$(e2e_box_count)" = "$before"
  e2e_check "the server ended after demo.vbs" e2e_wait_no_process velkora.exe 100

  status=0
  e2e_timed "$app" 60 wine "$app_win\\velkora.exe" /UnregServer >"$E2E_RUN/unregserver.out" 2>&1 || status=$?
  e2e_check "velkora.exe /UnregServer exits with 0 (got $status)" test "$status" = 0
  e2e_check "the class is gone" eval "! e2e_reg_key_exists 'HKCR\\CLSID\\$clsid'"
  e2e_check "the ProgID is gone" eval "! e2e_reg_key_exists 'HKCR\\ScriptFunctions.App'"
  e2e_end
}

started=$SECONDS
release_make
if [[ -s $zip_file ]]; then
  release_install_and_run
fi
echo "release e2e took $((SECONDS - started)) s"
e2e_summary
