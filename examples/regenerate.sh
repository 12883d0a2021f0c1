#!/usr/bin/env bash
# Converts every example plot into NAME.dxf with its log kept as NAME.log, and renders
# cassini.dxf with LibreCAD (dxf2pdf) and poppler (pdftoppm) into docs/cassini.png, and hp.hpgl
# in both modes side by side into docs/hp_both_modes.png (with ImageMagick), and two
# spectrum-analyzer screens with their labels into docs/hp8595e_fm.png and docs/specan_labels.png.
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

# One drawing of each mode, with its name under it, side by side.
render_modes() {
    local scratch font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    scratch=$(mktemp -d)
    (cd "$scratch" && "$penwright" -i "$OLDPWD/hp.hpgl" -o classic.dxf &&
        "$penwright" --hpgl2 -i "$OLDPWD/hp.hpgl" -o hpgl2.dxf) >/dev/null 2>&1
    for mode in classic hpgl2; do
        QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a "$scratch/$mode.dxf" >/dev/null 2>&1
        pdftoppm -png -r 60 -singlefile "$scratch/$mode.pdf" "$scratch/$mode"
        title=$([ $mode = classic ] && echo "classic mode" || echo "HP-GL/2 mode (--hpgl2)")
        convert "$scratch/$mode.png" -trim -bordercolor white -border 12 \( -size 400x28 xc:white \
            -font "$font" -pointsize 16 -gravity center -annotate +0+0 "$title" \) -gravity center \
            -append "$scratch/$mode-titled.png"
    done
    convert "$scratch/classic-titled.png" "$scratch/hpgl2-titled.png" -background white \
        -gravity center +append -strip ../docs/hp_both_modes.png
    rm -rf "$scratch"
}
# Two spectrum-analyzer screens with their labels, in HP-GL/2 mode, on landscape pages.
render_labels() {
    local scratch name
    scratch=$(mktemp -d)
    for plot in ../tests/data/hp8595e_fm.hpgl ../tests/data/specan_labels.plt; do
        name=$(basename "${plot%.*}")
        (cd "$scratch" && "$penwright" --hpgl2 -i "$OLDPWD/$plot" -o "$name.dxf") >/dev/null 2>&1
        QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a --paper 297x210 --margins 8,8,8,8 \
            "$scratch/$name.dxf" >/dev/null 2>&1
        pdftoppm -png -r 80 -singlefile "$scratch/$name.pdf" "$scratch/$name"
        convert "$scratch/$name.png" -trim -bordercolor white -border 10 -strip "../docs/$name.png"
    done
    rm -rf "$scratch"
}
if command -v librecad >/dev/null && command -v pdftoppm >/dev/null && command -v convert >/dev/null; then
    render_modes
    render_labels
fi
