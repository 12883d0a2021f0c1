#!/usr/bin/env bash
# Runs the tree recipe of README.md exactly as written, from a folder laid out as the source
# folder (build/penwright), on a tree of plots with the extensions and names real plots come
# with, and checks each DXF and log against a single-file conversion of the plot.
#   batch_test.sh BIN_DIR SOURCE_DIR
set -euo pipefail
bin=$1
source=$2
recipe=$(awk '/<!-- batch-recipe/ { found = 1; next } found && /^```sh/ { inside = 1; next }
              inside && /^```/ { exit } inside { print }' "$source/README.md")
[ -n "$recipe" ] || { echo "no batch recipe in README.md"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/build" "$work/plots/a/b" "$work/plots/c d"
ln -s "$bin/penwright" "$work/build/penwright"
examples=$source/examples
cp "$examples/cassini.hpgl" "$examples/square.plt" "$work/plots/a/"
cp "$examples/hp.hpgl" "$work/plots/a/b/hp.pcl"
cp "$examples/doge.hpgl" "$work/plots/c d/doge.SPL"
cp "$examples/feature_exercise.plt" "$work/plots/c d/feature exercise.hpl"
cp "$examples/square.plt" "$work/plots/a/b/square.hp"
printf 'IN;SP1;PD100,0;' > "$work/plots/a/drill.hpg"
printf 'SP1;PA1,x;PD100,100;' > "$work/plots/c d/faulty.txt" # an error: the batch fails
printf 'not a plot\n' > "$work/plots/notes.md"

cd "$work"
status=0
bash -c "$recipe" 2>stderr.txt || status=$?
[ "$status" -eq 123 ] || { echo "xargs status $status, not 123: the failed plot was hidden"; exit 1; }

count=0
while IFS= read -r -d '' plot; do
    stem=${plot%.*}
    build/penwright --hpgl2 -i "$plot" -o single.dxf --log=single.log 2>/dev/null || true
    cmp "$stem.dxf" single.dxf || { echo "$stem.dxf differs"; exit 1; }
    [ "$(tail -n +3 "$stem.log")" = "$(tail -n +3 single.log)" ] || { echo "$stem.log differs"; exit 1; }
    [ "$(head -2 "$stem.log")" = "$(printf 'HPGL input file: %s\nDXF output file: %s' "$plot" "$stem.dxf")" ] ||
        { echo "$stem.log names the wrong files"; exit 1; }
    grep -qxF "$plot: Errors: $(tail -1 single.log | cut -d' ' -f2-)" stderr.txt ||
        { echo "no summary line for $plot"; exit 1; }
    count=$((count + 1))
done < <(find plots -type f ! -name '*.dxf' ! -name '*.log' ! -name notes.md -print0)
[ "$count" -eq 8 ] || { echo "$count plots checked, not 8"; exit 1; }
[ ! -e plots/notes.dxf ] || { echo "a file that is no plot was converted"; exit 1; }
[ ! -e penwright.log ] || { echo "a log was left in the starting folder"; exit 1; }
echo "batch recipe: $count plots converted"
