#!/usr/bin/env bash
# Draws the application icon from its vector source and writes the .ico that
# the server's resources carry (16, 24, 32, 48 and 256 pixels, 32-bit with
# alpha; the 256-pixel image PNG-compressed, as the system expects).
#
#   scripts/make-icon.sh [<source.mvg> [<output.ico>]]
#   scripts/make-icon.sh --check    fails when packaging/icon/velkora.ico is
#                                   not what its source draws
#
# Defaults: packaging/icon/velkora.mvg -> packaging/icon/velkora.ico (kept in
# the tree, so that a build needs no ImageMagick and gives the same bytes
# wherever it runs). Each
# size is drawn from the source at that size, not scaled from a larger
# image, so the small ones stay sharp. The output holds no time stamps: the
# same source and ImageMagick give the same bytes.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [[ ${1:-} == --check ]]; then
  drawn=$(mktemp --suffix=.ico)
  trap 'rm -f "$drawn"' EXIT
  "$0" "$root/packaging/icon/velkora.mvg" "$drawn"
  cmp -s "$drawn" "$root/packaging/icon/velkora.ico" ||
    { echo "packaging/icon/velkora.ico differs from its source: run scripts/make-icon.sh" >&2; exit 1; }
  exit 0
fi
source=${1:-$root/packaging/icon/velkora.mvg}
output=${2:-$root/packaging/icon/velkora.ico}
sizes=(16 24 32 48 256)

# The source draws in a 256 x 256 box; its viewbox line is left out, as the
# scale in front of it sets the size.
drawing=$(grep -v '^[[:space:]]*viewbox' "$source")
images=()
for size in "${sizes[@]}"; do
  scale=$(awk -v s="$size" 'BEGIN { printf "%.6f", s / 256 }')
  images+=('(' -size "${size}x${size}" xc:none -draw "scale $scale,$scale $drawing" ')')
done
tmp=$(mktemp "${output}.XXXXXX")
trap 'rm -f "$tmp"' EXIT
convert "${images[@]}" -depth 8 -strip -define png:exclude-chunks=date,time "ICO:$tmp"
chmod 644 "$tmp"
mv "$tmp" "$output"
trap - EXIT
