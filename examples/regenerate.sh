#!/usr/bin/env bash
# Converts every example plot into NAME.dxf with its log kept as NAME.log, and renders
# cassini.dxf with LibreCAD (dxf2pdf) and poppler (pdftoppm) into docs/cassini.png.
#
#   examples/regenerate.sh [path/to/penwright]
set -euo pipefail
cd "$(dirname "$0")"
penwright=$(realpath "${1:-../build/penwright}")
for plot in *.hpgl *.plt; do
    name=${plot%.*}
    "$penwright" -i "$plot" -o "$name.dxf" 2>/dev/null || true
    mv penwright.log "$name.log"
done
if command -v librecad >/dev/null && command -v pdftoppm >/dev/null; then
    scratch=$(mktemp -d)
    cp cassini.dxf "$scratch" # the PDF is written next to the drawing
    QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a "$scratch/cassini.dxf" >/dev/null 2>&1
    pdftoppm -png -r 80 -singlefile "$scratch/cassini.pdf" ../docs/cassini
    rm -rf "$scratch"
fi
