#!/usr/bin/env bash
# Converts every example plot into NAME.dxf with its log kept as NAME.log, and renders
# cassini.dxf with LibreCAD (dxf2pdf) and poppler (pdftoppm) into docs/cassini.png, and hp.hpgl
# in both modes side by side into docs/hp_both_modes.png (with ImageMagick), and two
# spectrum-analyzer screens with their labels into docs/hp8595e_fm.png and docs/specan_labels.png,
# and a detail of a steel drawing in the AC1015 flavour into docs/gb01_r2000.png.
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
# A detail of the steel drawing as AC1015 (lineweights, line types, HATCHes), and a closer look
# at its plate's thick outline against the thin dimension lines.
render_lineweights() {
    local scratch page w h
    scratch=$(mktemp -d)
    (cd "$scratch" && "$penwright" --hpgl2 --dxf=r2000 --units=mm -i \
        "$OLDPWD/../tests/data/gb01_stahlbau.plt" -o gb01.dxf) >/dev/null 2>&1
    QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a "$scratch/gb01.dxf" >/dev/null 2>&1
    page=$scratch/gb01
    pdftoppm -png -r 300 -singlefile "$page.pdf" "$page-300"
    pdftoppm -png -r 600 -singlefile "$page.pdf" "$page-600"
    w=$(identify -format %w "$page-300.png") h=$(identify -format %h "$page-300.png")
    convert "$page-300.png" -crop $((w * 28 / 100))x$((h * 15 / 100))+$((w * 9 / 100))+$((h * 22 / 100)) \
        +repage -trim -bordercolor white -border 10 -resize x441 "$scratch/detail.png"
    w=$((w * 2)) h=$((h * 2))
    convert "$page-600.png" -crop $((w * 13 / 100))x$((h * 6 / 100))+$((w * 9 / 100))+$((h * 255 / 1000)) \
        +repage -trim -bordercolor white -border 10 "$scratch/closer.png"
    convert "$scratch/detail.png" "$scratch/closer.png" -background white -gravity center +append \
        -strip ../docs/gb01_r2000.png
    rm -rf "$scratch"
}
if command -v librecad >/dev/null && command -v pdftoppm >/dev/null && command -v convert >/dev/null; then
    render_modes
    render_labels
    render_lineweights
fi
