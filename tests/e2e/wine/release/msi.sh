#!/usr/bin/env bash
# The installer package, end to end: scripts/release.sh makes the package
# of this version and one of a later version from the same build; the
# tables are read back (msidump, msiinfo); then, in a fresh Wine prefix, the
# package is installed silently with a setting, its registration compared
# with what "velkora.exe /RegServer" writes in another fresh prefix, both
# samples run from the installed folder, the later version installed over
# it, repaired, and removed. Every msiexec run writes a verbose log that is
# read for errors. Prints PASS/FAIL per test; exit code non-zero on a failure.
#
#   tests/e2e/wine/release/msi.sh --build-dir <build/mingw64> [--work <dir>]
set -uo pipefail

work=msi-e2e
# shellcheck source=options.sh
source "$(dirname "$0")/options.sh"
mkdir -p "$work"
trap 'e2e_teardown' EXIT
trap 'exit 130' INT TERM

# The later version: the patch number one up.
next_version=${version%.*}.$((${version##*.} + 1))
out=$work/out
msi=$out/velkora-$version-x64.msi
msi_next=$out/next/velkora-$next_version-x64.msi
upgrade_code='{7B0F3C52-5E8A-4C61-9B0D-2E4A6D51C8F3}'
clsid='{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}'
libid='{48CBD5C0-7312-11D3-97E5-0080AD72B2B2}'
iid='{1AF7107C-3DB3-4A63-9DD7-E1F9CC702D03}'
classes='HKLM\Software\Classes'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# --- the package's tables -----------------------------------------------------

msi_table() { grep -v '^$' "$work/tables/$1.idt" 2>/dev/null | tr -d '\r' | tail -n +4; }
msi_property() { msi_table Property | awk -F'\t' -v p="$1" '$1 == p { print $2 }'; }

msi_make() {
  local status=0
  e2e_begin "msi: scripts/release.sh makes the package and its checksum; a later version from the same tree"
  rm -rf "$out"
  "$root/scripts/release.sh" --no-build --build-dir "$build_dir" --out "$out" >"$work/release.out" 2>&1 || status=$?
  e2e_check "release.sh exits with 0 (got $status; see $work/release.out)" test "$status" = 0
  e2e_check "the package is there" test -s "$msi"
  e2e_check "its checksum file holds one line in sha256sum's form and matches" eval \
    "grep -qxE '[0-9a-f]{64}  velkora-$version-x64\\.msi' '$msi.sha256' &&
     (cd '$out' && sha256sum --check --strict --quiet 'velkora-$version-x64.msi.sha256')"
  e2e_check "the release says it is not signed" grep -q '^not signed' "$work/release.out"
  rm -rf "$work/unsigned"
  msiextract -C "$work/unsigned" "$msi" >/dev/null 2>&1
  e2e_check "... and neither the package nor its velkora.exe carries a signature" eval \
    "! osslsigncode verify -in '$msi' >'$work/verify.out' 2>&1 &&
     ! osslsigncode verify -in \"\$(find '$work/unsigned' -name velkora.exe | head -n 1)\" >>'$work/verify.out' 2>&1 &&
     grep -q 'MSI file has no signature' '$work/verify.out' && grep -q 'No signature found' '$work/verify.out'"
  status=0
  "$root/scripts/release.sh" --no-build --build-dir "$build_dir" --out "$out/next" --version "$next_version" \
    >"$work/release-next.out" 2>&1 || status=$?
  e2e_check "release.sh --version $next_version exits with 0 (got $status)" test "$status" = 0
  e2e_check "the later package is there" test -s "$msi_next"
  e2e_end
}

msi_tables() {
  e2e_begin "msi: the tables register the server themselves, take the settings and know the upgrade"
  rm -rf "$work/tables"
  mkdir -p "$work/tables"
  e2e_check "msidump reads the package" eval "(cd '$work/tables' && msidump '$msi' >'$work/msidump.out' 2>&1)"
  e2e_check "no self-registration and no custom action" eval \
    "[[ -z \$(msi_table SelfReg) && -z \$(msi_table CustomAction) ]] &&
     ! msi_table InstallExecuteSequence | grep -qE '^(SelfRegModules|SelfUnregModules)'"
  local p
  for p in SCHREIBELOG:0 UNSICHTBAR:0 VORDERGRUND:1 TESTMODUS:0 ALLUSERS:1 ProductVersion:$version UpgradeCode:$upgrade_code; do
    e2e_check "property ${p%%:*} is ${p#*:}" test "$(msi_property "${p%%:*}")" = "${p#*:}"
  done
  e2e_check "the four settings are secure properties" eval \
    "msi_property SecureCustomProperties | tr ';' '\\n' | grep -cxE 'SCHREIBELOG|UNSICHTBAR|VORDERGRUND|TESTMODUS' | grep -qx 4"
  e2e_check "the upgrade table finds every older version of the product" eval \
    "msi_table Upgrade | grep -qP '^\\Q$upgrade_code\\E\\t\\t$version\\t\\t[0-9]+\\t\\tWIX_UPGRADE_DETECTED$'"
  e2e_check "older versions go before this one is installed" eval \
    "msi_table InstallExecuteSequence | grep -qP '^RemoveExistingProducts\\t'"
  e2e_check "velkora.ini gets the four keys under [Fenster], each only when missing" eval \
    "[[ \$(msi_table IniFile | awk -F'\\t' '\$2 == \"velkora.ini\" && \$3 == \"INSTALLDIR\" && \$4 == \"Fenster\" && \$7 == 1' | wc -l) == 4 ]] &&
     msi_table InstallExecuteSequence | grep -qP '^WriteIniValues\\t' &&
     ! msi_table InstallExecuteSequence | grep -qP '^RemoveIniValues\\t'"
  e2e_check "users may write the log, described in SDDL" eval \
    "msi_table MsiLockPermissionsEx | grep -qP '^\\w+\\tvelkora\\.log\\tFile\\tD:.*\\(A;;0x12019f;;;BU\\)'"
  e2e_check "velkora.exe is a versioned file of the package" eval \
    "msi_table File | grep -qP '^velkora\\.exe\\tServer\\tvelkora\\.exe\\t\\d+\\t$version\\.0\\t'"
  e2e_check "the read-me names the product code as detection rule" eval \
    "grep -qF \"\$(msi_property ProductCode)\" '$root/packaging/LIESMICH.txt' &&
     grep -qF '$upgrade_code' '$root/packaging/LIESMICH.txt'"
  e2e_check "the package installs per machine for x64, in German" eval \
    "msiinfo suminfo '$msi' | grep -qx 'Template: x64;1031'"
  e2e_check "the product code of the later version differs, the upgrade code not" eval \
    "[[ \$(msiinfo export '$msi_next' Property | tr -d '\\r' | awk -F'\\t' '\$1 == \"ProductCode\" { print \$2 }') != \$(msi_property ProductCode) ]] &&
     msiinfo export '$msi_next' Property | tr -d '\\r' | grep -qxP 'UpgradeCode\\t\\Q$upgrade_code\\E'"
  e2e_end
}

# --- registry ------------------------------------------------------------------

# msi_class_keys <file>: every key and value of the registration in both
# registry views, the install folder (long or short, quoted or not, with or
# without a closing backslash) replaced by <DIR>.
msi_class_keys() {
  local key view
  : >"$1"
  for view in 64 32; do
    for key in "CLSID\\$clsid" ScriptFunctions.App "TypeLib\\$libid" "Interface\\$iid"; do
      echo "[$view] $key" >>"$1"
      wine reg query "$classes\\$key" /s /reg:$view >"$E2E_RUN/reg-export.out" 2>&1 || { echo "  (none)" >>"$1"; continue; }
      tr -d '\r' <"$E2E_RUN/reg-export.out" | grep -v '^$' |
        sed -E -e 's/"(C:\\[^"]*)"/\1/' -e 's/C:\\(Program Files|PROG~[A-Z0-9]+)\\Velkora\\?/<DIR>\\/I' -e 's/\\$//' >>"$1"
    done
  done
}

# What the server writes itself, from the same folder in a fresh prefix of
# its own (the run's wineserver stays with the run's prefix).
msi_regserver_keys() {
  (
    export WINEPREFIX=$E2E_RUN/prefix-regserver
    cp -a "$E2E_WORK/prefix-cache" "$WINEPREFIX"
    local dir="$WINEPREFIX/drive_c/Program Files/Velkora"
    mkdir -p "$dir"
    msiextract -C "$E2E_RUN/extracted" "$msi" >/dev/null
    cp "$(find "$E2E_RUN/extracted" -name velkora.exe | head -n 1)" "$dir/"
    wineserver -p
    e2e_timed "$dir" 60 wine 'C:\Program Files\Velkora\velkora.exe' /RegServer >"$E2E_RUN/regserver.out" 2>&1
    local status=$?
    msi_class_keys "$1"
    wineserver -k
    exit "$status"
  )
}

# msi_exec <log name> <msiexec arguments...>: runs msiexec with a verbose
# log and checks its exit code and the log.
msi_exec() {
  local name=$1 status=0
  shift
  e2e_timed "$E2E_DRIVE_C" 300 wine msiexec "$@" /qn /l*v "C:\\$name.log" >"$E2E_RUN/$name.out" 2>&1 || status=$?
  e2e_check "msiexec $* exits with 0 (got $status)" test "$status" = 0
  local log=$E2E_DRIVE_C/$name.log
  e2e_check "its log is there and ends with success" eval \
    "tr -d '\\r' <'$log' | grep -qE 'Action ended .*: INSTALL\\. Return value 1\\.'"
  e2e_check "its log names no error" eval "! grep -aiE 'error|fail|return value 3' '$log' >&2"
  cp "$log" "$E2E_RUN/" 2>/dev/null
}

msi_product_entry() { e2e_reg_value "$uninstall_key\\$1" DisplayVersion; }

# The files of the package (relative, Windows separators), from its tables.
msi_package_files() {
  msiextract -l "$1" 2>/dev/null | sed -e 's|^\(.*/\)\?Velkora/||' | LC_ALL=C sort
}

# --- the run -------------------------------------------------------------------

msi_run_demos() {
  local app=$1 status=0
  mkdir -p "$E2E_DRIVE_C/skripte"
  e2e_timed "$E2E_DRIVE_C/skripte" 180 wine cscript //nologo 'C:\Program Files\Velkora\beispiele\demo.js' \
    >"$E2E_RUN/demo.js.raw" 2>"$E2E_RUN/demo.js.err" || status=$?
  tr -d '\r' <"$E2E_RUN/demo.js.raw" >"$E2E_RUN/demo.js.out"
  e2e_check "demo.js from the installed folder exits with 0 (got $status)" test "$status" = 0
  e2e_check "demo.js reaches the installed server" eval \
    "grep -qxF 'VelkoraIniname = C:\\Program Files\\Velkora\\velkora.ini' '$E2E_RUN/demo.js.out' &&
     grep -qxF 'Demo beendet.' '$E2E_RUN/demo.js.out'"
  e2e_check "the server ended after demo.js" e2e_wait_no_process velkora.exe 100
  status=0
  e2e_timed "$E2E_DRIVE_C/skripte" 180 env LC_ALL=de_DE.UTF-8 wine cscript //nologo 'C:\Program Files\Velkora\beispiele\demo.vbs' \
    >"$E2E_RUN/demo.vbs.raw" 2>"$E2E_RUN/demo.vbs.err" || status=$?
  tr -d '\r' <"$E2E_RUN/demo.vbs.raw" >"$E2E_RUN/demo.vbs.out"
  e2e_check "demo.vbs from the installed folder exits with 0 (got $status)" test "$status" = 0
  e2e_check "demo.vbs reaches the installed server and its tariffs" eval \
    "grep -qxF 'GetRasLCRName(30)   = Sekundentakt' '$E2E_RUN/demo.vbs.out' &&
     grep -qxF 'Demo beendet.' '$E2E_RUN/demo.vbs.out'"
  e2e_check "the server ended after demo.vbs" e2e_wait_no_process velkora.exe 100
  e2e_check "the server wrote its log beside itself, with the scripts' calls" eval \
    "grep -aq 'GetRasLCRName' '$app/velkora.log'"
}

msi_install_upgrade_repair_remove() {
  e2e_begin "msi: installed, compared with /RegServer, samples run, upgraded, repaired, removed"
  if ! e2e_setup "$work"; then
    e2e_check "the Wine prefix, display and wineserver start" false
    e2e_end
    return
  fi
  local app="$E2E_DRIVE_C/Program Files/Velkora" product product_next
  product=$(msi_property ProductCode)
  product_next=$(msiinfo export "$msi_next" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }')
  cp "$msi" "$E2E_DRIVE_C/velkora.msi"
  cp "$msi_next" "$E2E_DRIVE_C/velkora-next.msi"

  e2e_check "velkora.exe /RegServer registers in a fresh prefix" msi_regserver_keys "$E2E_RUN/keys-regserver.txt"
  e2e_check "nothing registered in the fresh prefix" eval "! e2e_reg_key_exists '$classes\\ScriptFunctions.App'"

  msi_exec install /i 'C:\velkora.msi' SCHREIBELOG=1
  e2e_check "every file of the package is in Program Files\\Velkora" eval \
    "(cd '$app' && find . -type f | sed 's|^\\./||' | LC_ALL=C sort) | comm -13 - <(msi_package_files '$msi') | { ! grep . >&2; }"
  e2e_check "the 64-bit Program Files folder, not the 32-bit one" test ! -e "$E2E_DRIVE_C/Program Files (x86)/Velkora"
  e2e_check "velkora.ini holds the settings of the command line and the defaults" eval \
    "diff <(printf '[Fenster]\\nSchreibeLog=1\\nUnsichtbar=0\\nVordergrund=1\\nTestmodus=0\\n') <(tr -d '\\r' <'$app/velkora.ini') >&2"
  msi_class_keys "$E2E_RUN/keys-msi.txt"
  e2e_check "the registration is the one /RegServer writes, folder aside" \
    diff "$E2E_RUN/keys-regserver.txt" "$E2E_RUN/keys-msi.txt"
  e2e_check "LocalServer32 names the installed server in quotes" eval \
    "[[ \$(e2e_reg_value '$classes\\CLSID\\$clsid\\LocalServer32') =~ ^\\\"C:\\\\PROG[^\\\"]*\\\\Velkora\\\\velkora\\.exe\\\"\$ ]]"
  e2e_check "the 32-bit view holds the interface" eval \
    "wine reg query '$classes\\Interface\\$iid\\ProxyStubClsid32' /reg:32 >'$E2E_RUN/reg32.out' 2>&1"
  e2e_check "the product is registered for removal" test "$(msi_product_entry "$product")" = "$version"

  # A settings file changed after the installation: the tariffs of the
  # samples added, the tray icon switched off.
  sed -i 's/^Unsichtbar=0\r\?$/Unsichtbar=1\r/' "$app/velkora.ini"
  sed 's/\r*$/\r/' "$app/beispiele/lcr/einstellungen/velkora.ini" >>"$app/velkora.ini"
  cp "$app/velkora.ini" "$E2E_RUN/velkora.ini.changed"
  local before
  before=$(e2e_box_count)
  msi_run_demos "$app"
  e2e_check "no error box came up" test "$(e2e_box_count)" = "$before"
  settings_kept() {
    tr -d '\r' <"$app/velkora.ini" | grep -qx 'Unsichtbar=1' &&
      tr -d '\r' <"$app/velkora.ini" | grep -qx 'SchreibeLog=1' &&
      tr -d '\r' <"$app/velkora.ini" | grep -qx '\[LCR Grundgebuehr\]'
  }

  msi_exec upgrade /i 'C:\velkora-next.msi'
  e2e_check "one product: the later version" eval \
    "[[ \$(msi_product_entry '$product_next') == '$next_version' ]] && ! msi_product_entry '$product' >/dev/null"
  msi_class_keys "$E2E_RUN/keys-upgraded.txt"
  e2e_check "one registration, the same as before" diff "$E2E_RUN/keys-regserver.txt" "$E2E_RUN/keys-upgraded.txt"
  e2e_check "the changed settings are kept" settings_kept

  # The older package over the newer one: refused, nothing changes.
  local status=0
  e2e_timed "$E2E_DRIVE_C" 300 wine msiexec /i 'C:\velkora.msi' /qn /l*v 'C:\downgrade.log' \
    >"$E2E_RUN/downgrade.out" 2>&1 || status=$?
  e2e_check "the older version over the newer one is refused (exit code $status)" test "$status" != 0
  e2e_check "... and the newer one stays alone" eval \
    "[[ \$(msi_product_entry '$product_next') == '$next_version' ]] && ! msi_product_entry '$product' >/dev/null"

  # Repair: a sample removed by hand comes back, the settings stay. Wine's
  # msiexec cannot run /f (with a package it looks the path up as a
  # product code and ends with 1605; with a product code it says "not
  # implemented"), so the repair goes through the properties /famus stands for.
  rm -f "$app/beispiele/demo.js"
  msi_exec repair /i 'C:\velkora-next.msi' REINSTALL=ALL REINSTALLMODE=amus
  e2e_check "the repair put the removed sample back" test -s "$app/beispiele/demo.js"
  e2e_check "the changed settings are kept" settings_kept
  status=0
  e2e_timed "$E2E_DRIVE_C/skripte" 180 wine cscript //nologo 'C:\Program Files\Velkora\beispiele\demo.js' \
    >"$E2E_RUN/demo-after-repair.out" 2>&1 || status=$?
  e2e_check "demo.js still runs after upgrade and repair" eval \
    "[[ $status == 0 ]] && grep -q 'Demo beendet.' '$E2E_RUN/demo-after-repair.out'"
  e2e_check "the server ended" e2e_wait_no_process velkora.exe 100

  msi_exec remove /x 'C:\velkora-next.msi'
  msi_class_keys "$E2E_RUN/keys-removed.txt"
  e2e_check "no registration left in either view" eval "[[ \$(grep -c '^  (none)\$' '$E2E_RUN/keys-removed.txt') == 8 ]]"
  e2e_check "no product entry left" eval \
    "! msi_product_entry '$product_next' >/dev/null && ! msi_product_entry '$product' >/dev/null"
  e2e_check "no file of the package left" eval \
    "! (cd '$app' 2>/dev/null && find . -type f | sed 's|^\\./||' | LC_ALL=C sort) | comm -12 - <(msi_package_files '$msi') | grep . >&2"
  e2e_check "what stays is the changed velkora.ini alone" eval \
    "[[ \$(cd '$app' && find . -mindepth 1 | sed 's|^\\./||') == velkora.ini ]] && settings_kept"
  e2e_end
}

started=$SECONDS
msi_make
if [[ -s $msi && -s $msi_next ]]; then
  msi_tables
  msi_install_upgrade_repair_remove
fi
echo "msi e2e took $((SECONDS - started)) s"
e2e_summary
