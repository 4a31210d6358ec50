#!/usr/bin/env bash
# Makes the release for Windows users: velkora-<version>-win64.zip with the
# server velkora.exe (MinGW-w64 release build), the administrators' read-me
# LIESMICH.txt, the reference for script authors referenz.html (rendered
# from docs/referenz.md), the sample scripts and the sample tariff
# configurations; the installer package velkora-<version>-x64.msi with the
# same files (scripts/make-msi.sh); beside each its .sha256 in sha256sum's
# format.
#
#   scripts/release.sh [--no-build] [--build-dir DIR] [--out DIR]
#                      [--sign CERT.pfx [--timestamp URL]] [--version X.Y.Z]
#
# --no-build takes velkora.exe as it stands in the build folder (default
# build/mingw64); --out is the folder for the results (default build/dist).
# --sign signs velkora.exe before it is packed and the package after it is
# built (Authenticode, SHA-256, osslsigncode) with the certificate and key
# of a PKCS#12 file; its password comes from the environment variable
# VELKORA_SIGN_PASSWORD, never from the command line. --timestamp adds a
# time stamp from that server (RFC 3161), so that the signature stays valid
# after the certificate expires. Without --sign nothing is signed, and the
# output says so.
# --version gives the package another version than CMakeLists.txt's (a
# second package for an upgrade test); the server inside stays the same.
# Zip and package are the same byte for byte when made again from the same
# commit: entries in a fixed order, every time stamp the commit's time.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=1
build_dir=$root/build/mingw64
out=$root/build/dist
cert=
timestamp=
version=
usage="usage: $0 [--no-build] [--build-dir DIR] [--out DIR] [--sign CERT.pfx [--timestamp URL]] [--version X.Y.Z]"
while (($#)); do
  case $1 in
    --no-build) build=0; shift ;;
    --build-dir) build_dir=$(realpath -m "$2"); shift 2 ;;
    --out) out=$(realpath -m "$2"); shift 2 ;;
    --sign) cert=$(realpath -m "$2"); shift 2 ;;
    --timestamp) timestamp=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    *) echo "$usage" >&2; exit 64 ;;
  esac
done
if [[ -n $cert ]]; then
  [[ -f $cert ]] || { echo "no certificate file $cert" >&2; exit 1; }
  [[ -n ${VELKORA_SIGN_PASSWORD+set} ]] || {
    echo "--sign needs the certificate's password in VELKORA_SIGN_PASSWORD" >&2; exit 1; }
elif [[ -n $timestamp ]]; then
  echo "--timestamp only goes with --sign" >&2; exit 64
fi

"$root/scripts/install-deps.sh" --windows

[[ -n $version ]] || version=$(sed -nE 's/^project\(velkora VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "no version X.Y.Z (CMakeLists.txt or --version)" >&2; exit 1; }
name=velkora-$version-win64

if ((build)); then
  "$root/scripts/build-windows.sh" -j2 --target velkora
fi
exe=$build_dir/src/hosts/win32/velkora.exe
[[ -f $exe ]] || { echo "no $exe: build it first (scripts/build-windows.sh)" >&2; exit 1; }

# Time stamps of the entries: the commit's, else the source date the caller
# names, so that the same sources give the same zip.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}

stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage/$name/beispiele"
# strip writes a time stamp into the PE header: the source date, not now.
SOURCE_DATE_EPOCH=$epoch x86_64-w64-mingw32-strip -o "$stage/$name/velkora.exe" "$exe"

# sign <file>: Authenticode signature (SHA-256) in place, signing time the
# source date, so that the same sources and certificate give the same file.
sign() {
  local args=(sign -pkcs12 "$cert" -readpass - -h sha256 -n Velkora -time "$epoch" -in "$1" -out "$1.signed")
  [[ -n $timestamp ]] && args+=(-ts "$timestamp")
  printf '%s' "$VELKORA_SIGN_PASSWORD" | osslsigncode "${args[@]}" >"$out/sign.log" 2>&1 || {
    cat "$out/sign.log" >&2; rm -f "$1.signed"; echo "signing $(basename "$1") failed" >&2; exit 1; }
  mv "$1.signed" "$1"
  rm -f "$out/sign.log"
}
if [[ -n $cert ]]; then sign "$stage/$name/velkora.exe"; fi

# Text files get Windows line ends (Notepad of older Windows shows a file
# with bare line feeds as one long line); the read-me is UTF-8 with a byte
# order mark, which every Notepad reads right.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
{ printf '\xef\xbb\xbf'; sed 's/\r*$/\r/' "$root/packaging/LIESMICH.txt"; } >"$stage/$name/LIESMICH.txt"
"$root/scripts/render-referenz.sh" "$stage/$name/referenz.html"
for f in "$root"/examples/*.vbs "$root"/examples/*.js; do
  crlf "$f" "$stage/$name/beispiele/$(basename "$f")"
done
(cd "$root/examples" && find lcr -type f) | while read -r f; do
  mkdir -p "$(dirname "$stage/$name/beispiele/$f")"
  crlf "$root/examples/$f" "$stage/$name/beispiele/$f"
done

find "$stage" -exec touch -h -d "@$epoch" {} +
zip_file=$out/$name.zip
rm -f "$zip_file" "$zip_file.sha256"
# -X: no Unix owners or extra time fields; -D: no folder entries; the names
# sorted; time stamps as UTC.
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 "$zip_file" -@)
(cd "$out" && sha256sum "$name.zip" >"$name.zip.sha256")

# The installer package holds the same files as the zip.
msi_name=velkora-$version-x64.msi
msi_file=$out/$msi_name
rm -f "$msi_file" "$msi_file.sha256"
icon=()
for candidate in "$root/packaging/icon/velkora.ico" "$root/src/hosts/win32/velkora.ico"; do
  [[ -f $candidate ]] && { icon=(--icon "$candidate"); break; }
done
"$root/scripts/make-msi.sh" --stage "$stage/$name" --version "$version" --out "$msi_file" "${icon[@]}" >/dev/null
if [[ -n $cert ]]; then sign "$msi_file"; fi
touch -d "@$epoch" "$msi_file"
(cd "$out" && sha256sum "$msi_name" >"$msi_name.sha256")
rm -rf "$stage"
echo "$zip_file"
echo "$zip_file.sha256: $(cut -d' ' -f1 "$zip_file.sha256")"
echo "$msi_file"
echo "$msi_file.sha256: $(cut -d' ' -f1 "$msi_file.sha256")"
if [[ -n $cert ]]; then
  echo "signed: velkora.exe and $msi_name with $(basename "$cert")"
else
  echo "not signed: no certificate given (--sign CERT.pfx)"
fi
