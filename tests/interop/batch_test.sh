#!/usr/bin/env bash
# Runs the batch recipe exactly as README.md gives it, on copies of the example plots in nested
# folders, and checks each DXF and log against a conversion of the plot on its own.
#   batch_test.sh BIN_DIR SOURCE_DIR
set -euo pipefail
bin=$1
source=$2
recipe=$(awk '/<!-- batch-recipe/ { found = 1; next } found && /^```sh/ { inside = 1; next }
              inside && /^```/ { exit } inside { print }' "$source/README.md")
[ -n "$recipe" ] || { echo "no batch recipe in README.md"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/plots/a/b" "$work/plots/c"
cp "$source/examples/cassini.hpgl" "$source/examples/square.plt" "$work/plots/a/"
cp "$source/examples/hp.hpgl" "$work/plots/a/b/"
cp "$source/examples/doge.hpgl" "$source/examples/feature_exercise.plt" "$work/plots/c/"

cd "$work"
status=0
PATH="$bin:$PATH" bash -c "$recipe" || status=$?
# feature_exercise.plt stops at a syntax error, so the batch as a whole reports failure.
[ "$status" -ne 0 ] || { echo "the batch hid the failed conversion"; exit 1; }

for plot in $(find plots -type f \( -name '*.plt' -o -name '*.hpgl' \)); do
    stem=${plot%.*}
    name=$(basename "$stem")
    cmp "$stem.dxf" "$source/examples/$name.dxf" || { echo "$stem.dxf differs"; exit 1; }
    expected_body=$(tail -n +3 "$source/examples/$name.log")
    [ "$(tail -n +3 "$stem.log")" = "$expected_body" ] || { echo "$stem.log differs"; exit 1; }
    head -1 "$stem.log" | grep -qx "HPGL input file: $work/$plot" || { echo "$stem.log names the wrong input"; exit 1; }
done
[ ! -e penwright.log ] || { echo "a log was left in the starting folder"; exit 1; }
echo "batch recipe: $(find plots -name '*.dxf' | wc -l) plots converted"
