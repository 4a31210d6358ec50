#!/usr/bin/env bash
# Renders the reference for script authors, docs/referenz.md, to one
# self-contained HTML page (styles inline, no outside resources) with
# pandoc. The same sources give the same bytes.
#
#   scripts/render-referenz.sh OUT.html
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
(($# == 1)) || { echo "usage: $0 OUT.html" >&2; exit 64; }
out=$1
mkdir -p "$(dirname "$out")"
# The Markdown's own output blocks ("ausgabe") keep their class for the
# style sheet; the table of contents lists the methods. No typographic
# quotes: the server's messages quote with plain apostrophes.
pandoc "$root/docs/referenz.md" --from markdown-smart --to html5 --standalone \
  --toc --toc-depth=2 --include-in-header "$root/docs/referenz-kopf.html" \
  --output "$out.tmp"
mv "$out.tmp" "$out"
