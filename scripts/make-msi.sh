#!/usr/bin/env bash
# Makes the Windows Installer package velkora-<version>-x64.msi from a
# staged release folder (the folder scripts/release.sh packs into the zip:
# velkora.exe, LIESMICH.txt, beispiele\ and whatever else it holds).
#
#   scripts/make-msi.sh --stage DIR --version X.Y.Z --out FILE.msi [--icon FILE.ico]
#
# The package installs per machine into the 64-bit Program Files folder,
# Velkora\, every file of the staged folder in the same layout. It registers
# the server from its own Registry table (no self-registration), with
# exactly the entries "velkora.exe /RegServer" writes, and writes the first
# settings into velkora.ini from the public properties SCHREIBELOG,
# UNSICHTBAR, VORDERGRUND and TESTMODUS.
#
# Codes: the upgrade code never changes; the product code is derived from
# the version (a new version is a major upgrade of the old one); the
# package code from the package's content, so the same sources give the
# same package and a different content never reuses a package code. Every
# component code is derived from the file's place in the folder, so a file
# keeps its component across versions.
#
# wixl writes no IniFile and no MsiLockPermissionsEx table: msibuild adds
# them to the built package with SQL.
set -euo pipefail

self=$(realpath "${BASH_SOURCE[0]}")
stage= version= out= icon=
while (($#)); do
  case $1 in
    --stage) stage=$(realpath "$2"); shift 2 ;;
    --version) version=$2; shift 2 ;;
    --out) out=$(realpath -m "$2"); shift 2 ;;
    --icon) icon=$(realpath "$2"); shift 2 ;;
    *) echo "usage: $0 --stage DIR --version X.Y.Z --out FILE.msi [--icon FILE.ico]" >&2; exit 64 ;;
  esac
done
[[ -n $stage && -n $version && -n $out ]] || { echo "usage: $0 --stage DIR --version X.Y.Z --out FILE.msi [--icon FILE.ico]" >&2; exit 64; }
[[ -f $stage/velkora.exe ]] || { echo "no velkora.exe in $stage" >&2; exit 1; }
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "version must be X.Y.Z, got $version" >&2; exit 1; }

readonly upgrade_code=7B0F3C52-5E8A-4C61-9B0D-2E4A6D51C8F3
readonly clsid='{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}'
readonly libid='{48CBD5C0-7312-11D3-97E5-0080AD72B2B2}'
readonly iid='{1AF7107C-3DB3-4A63-9DD7-E1F9CC702D03}'
readonly psoa='{00020424-0000-0000-C000-000000000046}'

# uuid5 <namespace uuid> <name>: the name-based (SHA-1) UUID, upper case.
uuid5() {
  local ns=${1//-/} hash
  hash=$({ printf "$(sed 's/../\\x&/g' <<<"${ns,,}")"; printf '%s' "$2"; } | sha1sum | cut -c1-32)
  local variant=$(( (0x${hash:16:1} & 0x3) | 0x8 ))
  hash=${hash:0:12}5${hash:13:3}$(printf '%x' "$variant")${hash:17:15}
  printf '%s-%s-%s-%s-%s\n' "${hash:0:8}" "${hash:8:4}" "${hash:12:4}" "${hash:16:4}" "${hash:20:12}" | tr a-f A-F
}

xml_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"; }

# Identifiers of the package's tables: letters, digits, dots and
# underscores, at most 72 characters; a hash keeps long paths apart.
ident() {
  local id
  id=$(sed -e 's/[^A-Za-z0-9_.]/_/g' <<<"$2")
  if ((${#id} > 40)); then id=${id:0:30}_$(printf '%s' "$2" | sha1sum | cut -c1-8); fi
  printf '%s%s\n' "$1" "$id"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

product_code=$(uuid5 "$upgrade_code" "product $version")
# The package code covers what goes into the package: the staged files
# with their names, the version and this script.
content_hash=$(cd "$stage" && find . -type f | LC_ALL=C sort | while read -r f; do
                 printf '%s %s\n' "$(sha256sum <"$f" | cut -c1-64)" "$f"; done |
               { cat; printf 'version %s\n' "$version"; sha256sum <"$self";
                 [[ -n $icon ]] && sha256sum <"$icon"; true; } | sha256sum | cut -c1-64)
package_code=$(uuid5 "$upgrade_code" "package $content_hash")

reg() { # reg <key below Software\Classes> [value]: the key's default value
  if (($# > 1)); then
    printf '          <RegistryValue Root="HKLM" Key="Software\\Classes\\%s" Type="string" Value="%s"/>\n' \
      "$(xml_escape "$1")" "$(xml_escape "$2")"
  fi
}
named_reg() { # named_reg <key> <name> <value>
  printf '          <RegistryValue Root="HKLM" Key="Software\\Classes\\%s" Name="%s" Type="string" Value="%s"/>\n' \
    "$(xml_escape "$1")" "$(xml_escape "$2")" "$(xml_escape "$3")"
}

# The interface keys, written by the type library registration into both
# registry views (32-bit clients marshal the dual interface from there).
interface_keys() {
  reg "Interface\\$iid" IApp
  reg "Interface\\$iid\\ProxyStubClsid" "$psoa"
  reg "Interface\\$iid\\ProxyStubClsid32" "$psoa"
  reg "Interface\\$iid\\TypeLib" "$libid"
  named_reg "Interface\\$iid\\TypeLib" Version 1.0
}

# Folders and files of the stage, velkora.exe aside (it has its own
# component with the registration).
dir_xml() { # dir_xml <relative folder> <indent>
  local rel=$1 pad=$2 path name f
  for path in "$stage/${rel:+$rel/}"*; do
    name=$(basename "$path")
    f=${rel:+$rel/}$name
    if [[ -d $path ]]; then
      printf '%s<Directory Id="%s" Name="%s">\n' "$pad" "$(ident D_ "$f")" "$(xml_escape "$name")"
      dir_xml "$f" "$pad  "
      printf '%s</Directory>\n' "$pad"
    elif [[ $f != velkora.exe ]]; then
      printf '%s<Component Id="%s" Guid="%s" Win64="yes">\n' "$pad" "$(ident C_ "$f")" "$(uuid5 "$upgrade_code" "file $f")"
      printf '%s  <File Id="%s" Name="%s" Source="%s" KeyPath="yes"/>\n' "$pad" "$(ident F_ "$f")" \
        "$(xml_escape "$name")" "$(xml_escape "$f")"
      printf '%s</Component>\n' "$pad"
      printf '%s\n' "$(ident C_ "$f")" >>"$work/components"
    fi
  done
}

: >"$work/components"
# An empty log that users may write (see the permissions below): the
# server empties it at every start instead of deleting it.
: >"$work/velkora.log"
touch -r "$stage/velkora.exe" "$work/velkora.log"

icon_xml=
if [[ -n $icon ]]; then
  cp "$icon" "$work/velkora.ico"
  icon_xml="    <Icon Id=\"velkora.ico\" SourceFile=\"$(realpath --relative-to="$stage" "$work/velkora.ico")\"/>
    <Property Id=\"ARPPRODUCTICON\" Value=\"velkora.ico\"/>"
fi

LC_ALL=C
{
  cat <<EOF
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="$product_code" Name="Velkora" Language="1031" Codepage="1252"
           Version="$version" Manufacturer="Velkora" UpgradeCode="$upgrade_code">
    <Package Id="$package_code" Description="Velkora $version" Manufacturer="Velkora"
             InstallerVersion="500" Languages="1031" SummaryCodepage="1252" Compressed="yes"
             InstallScope="perMachine"/>
    <Media Id="1" Cabinet="velkora.cab" EmbedCab="yes"/>
    <MajorUpgrade DowngradeErrorMessage="Eine neuere Version von Velkora ist bereits installiert."/>
    <Property Id="SCHREIBELOG" Value="0"/>
    <Property Id="UNSICHTBAR" Value="0"/>
    <Property Id="VORDERGRUND" Value="1"/>
    <Property Id="TESTMODUS" Value="0"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
$icon_xml
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFiles64Folder">
        <Directory Id="INSTALLDIR" Name="Velkora">
        <Component Id="Server" Guid="$(uuid5 "$upgrade_code" "component server")" Win64="yes">
          <File Id="velkora.exe" Name="velkora.exe" Source="velkora.exe" KeyPath="yes"/>
EOF
  # The class keys in the order the server writes them, then what the
  # type library registration writes. LocalServer32 names the server by
  # its short path, as the server itself does when its path holds a
  # blank, and in quotes, which is right even where short names are off.
  reg "CLSID\\$clsid" "App Objekt"
  reg "CLSID\\$clsid\\LocalServer32" '"[!velkora.exe]"'
  reg ScriptFunctions.App "App Objekt"
  reg "ScriptFunctions.App\\Clsid" "$clsid"
  reg "CLSID\\$clsid\\ProgID" ScriptFunctions.App
  reg "CLSID\\$clsid\\Version" 1.0
  reg "CLSID\\$clsid\\TypeLib" "$libid"
  reg "TypeLib\\$libid\\1.0" "Velkora Bibliothek"
  reg "TypeLib\\$libid\\1.0\\0\\win64" "[#velkora.exe]"
  reg "TypeLib\\$libid\\1.0\\FLAGS" 8
  reg "TypeLib\\$libid\\1.0\\HELPDIR" "[INSTALLDIR]"
  interface_keys
  cat <<EOF
        </Component>
        <Component Id="Server32" Guid="$(uuid5 "$upgrade_code" "component server 32-bit view")" Win64="no">
EOF
  interface_keys | sed 's|Name="Version"|Name="Version" KeyPath="yes"|'
  cat <<EOF
        </Component>
        <Component Id="Log" Guid="$(uuid5 "$upgrade_code" "component log")" Win64="yes">
          <File Id="velkora.log" Name="velkora.log" Source="$(realpath --relative-to="$stage" "$work/velkora.log")" KeyPath="yes"/>
        </Component>
EOF
  dir_xml "" "          "
  cat <<EOF
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Velkora" Title="Velkora" Level="1">
      <ComponentRef Id="Server"/>
      <ComponentRef Id="Server32"/>
      <ComponentRef Id="Log"/>
EOF
  while read -r c; do printf '      <ComponentRef Id="%s"/>\n' "$c"; done <"$work/components"
  cat <<EOF
    </Feature>
  </Product>
</Wix>
EOF
} >"$work/velkora.wxs"

mkdir -p "$(dirname "$out")"
rm -f "$out"
# wixl takes the sources relative to the folder it runs in.
# wixl stamps the package with the time it runs: under faketime that is
# the source date (the staged files' time), so the same sources give the
# same package.
stamp=$(date -u -r "$stage/velkora.exe" '+%Y-%m-%d %H:%M:%S')
fixed_time() { TZ=UTC faketime -f "$stamp" "$@"; }
(cd "$stage" && fixed_time wixl -a x64 -o "$out" "$work/velkora.wxs")
# Summary: the German template and the package code derived above.
fixed_time msibuild "$out" -s "Velkora $version" Velkora "x64;1031" "{$package_code}"

# The first settings: each key is written only when velkora.ini does not
# hold it yet (action 1), so a repair or an upgrade keeps what was changed
# after the installation. The entries are never removed: the file stays
# when the package goes (the read-me says why).
# The log: standard users may write it (the server runs as the user whose
# script started it), but not delete it, and nothing else in the folder.
# SDDL, so that the group names need no translation: full access for
# SYSTEM and the administrators, read and write for the users.
# Tables go in as .idt files (msibuild's SQL splits queries at every ";").
{
  printf 'IniFile\tFileName\tDirProperty\tSection\tKey\tValue\tAction\tComponent_\r\n'
  printf 's72\tl255\tS72\tl96\tl128\tl255\ti2\ts72\r\n'
  printf 'IniFile\tIniFile\r\n'
  for entry in SchreibeLog:SCHREIBELOG Unsichtbar:UNSICHTBAR Vordergrund:VORDERGRUND Testmodus:TESTMODUS; do
    printf 'Ini%s\tvelkora.ini\tINSTALLDIR\tFenster\t%s\t[%s]\t1\tServer\r\n' "${entry%%:*}" "${entry%%:*}" "${entry#*:}"
  done
} >"$work/IniFile.idt"
{
  printf 'MsiLockPermissionsEx\tLockObject\tTable\tSDDLText\tCondition\r\n'
  printf 's72\ts72\ts32\ts0\tS255\r\n'
  printf 'MsiLockPermissionsEx\tMsiLockPermissionsEx\r\n'
  printf 'LogForUsers\tvelkora.log\tFile\tD:PAI(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x12019f;;;BU)\t\r\n'
} >"$work/MsiLockPermissionsEx.idt"
# Properties a managed (elevated) installation hands on from the client
# to the installation service.
msiinfo export "$out" Property >"$work/Property.idt"
sed -i 's/^\(SecureCustomProperties\t.*\)\r$/\1;SCHREIBELOG;UNSICHTBAR;VORDERGRUND;TESTMODUS\r/' "$work/Property.idt"
grep -q 'TESTMODUS.$' "$work/Property.idt" || { echo "no SecureCustomProperties from wixl" >&2; exit 1; }
# wixl leaves the version of velkora.exe out of the File table, which makes
# it an unversioned file for the installer (replaced by date, hashed):
# the version from the exe's own version resource, and no hash.
exe_version=$(strings -el "$stage/velkora.exe" | grep -A1 -x FileVersion | sed -n 2p)
[[ $exe_version =~ ^[0-9]+(\.[0-9]+){3}$ ]] || { echo "no file version in velkora.exe" >&2; exit 1; }
msiinfo export "$out" File | awk -F'\t' -v OFS='\t' -v v="$exe_version" \
  'NR > 3 && $1 == "velkora.exe" { $5 = v; $6 = "0" } { print }' >"$work/File.idt"
msiinfo export "$out" MsiFileHash | grep -v $'^velkora\.exe\t' >"$work/MsiFileHash.idt"
msiinfo export "$out" InstallExecuteSequence >"$work/InstallExecuteSequence.idt"
printf 'WriteIniValues\t\t5100\r\n' >>"$work/InstallExecuteSequence.idt"
for table in IniFile MsiLockPermissionsEx Property File MsiFileHash InstallExecuteSequence; do
  fixed_time msibuild "$out" -i "$work/$table.idt"
done
echo "$out"
