#!/usr/bin/env bash
# Makes the release for Windows users: velkora-<version>-win64.zip with the
# server velkora.exe (MinGW-w64 release build), the administrators' read-me
# LIESMICH.txt, the reference for script authors referenz.html (rendered
# from docs/referenz.md), the sample scripts and the sample tariff
# configurations, and
# beside it velkora-<version>-win64.zip.sha256 in sha256sum's format.
#
#   scripts/release.sh [--no-build] [--build-dir DIR] [--out DIR]
#
# --no-build takes velkora.exe as it stands in the build folder (default
# build/mingw64); --out is the folder for the zip (default build/dist).
# The zip is the same byte for byte when made again from the same commit:
# entries in a fixed order, every time stamp the commit's time.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=1
build_dir=$root/build/mingw64
out=$root/build/dist
while (($#)); do
  case $1 in
    --no-build) build=0; shift ;;
    --build-dir) build_dir=$(realpath -m "$2"); shift 2 ;;
    --out) out=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: $0 [--no-build] [--build-dir DIR] [--out DIR]" >&2; exit 64 ;;
  esac
done

"$root/scripts/install-deps.sh" --windows

version=$(sed -nE 's/^project\(velkora VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
[[ -n $version ]] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
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
rm -rf "$stage"
echo "$zip_file"
echo "$zip_file.sha256: $(cut -d' ' -f1 "$zip_file.sha256")"
