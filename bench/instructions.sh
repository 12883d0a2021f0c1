#!/usr/bin/env bash
# Instruction counts, which do not drift with the machine's load: valgrind --tool=callgrind on
# the 1 MB input of each profile, output to files. Prints instructions per input byte and per
# drawn entity, and the split of the instructions by layer.
#
#   bench/instructions.sh [-p "lines plot labels"] [-s MB] [-m "--hpgl2"] [-b BINARY]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
profiles="lines plot labels"
size=1
mode=""
binary=""
while getopts "p:s:m:b:" opt; do
    case $opt in
    p) profiles=$OPTARG ;;
    s) size=$OPTARG ;;
    m) mode=$OPTARG ;;
    b) binary=$OPTARG ;;
    *) exit 2 ;;
    esac
done
build=$root/build-bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENWRIGHT_TESTS=OFF >/dev/null
cmake --build "$build" >/dev/null
binary=${binary:-$build/penwright}
data=${BENCH_DATA:-$root/bench/data}
work=$data/callgrind
mkdir -p "$work"
for profile in $profiles; do
    input=$data/$profile-$size.plt
    [ -f "$input" ] || "$build/bench/hpglgen" "$profile" "$size" >"$input"
    name=$profile${mode:++${mode#--}}
    out=$work/$name.callgrind
    # shellcheck disable=SC2086
    (cd "$work" && valgrind --tool=callgrind --callgrind-out-file="$out" "$binary" $mode -i "$input" \
        -o out.dxf >/dev/null 2>&1) || true # errors in the plot end with status 1
    entities=$(grep -c -E '^(LINE|ARC|CIRCLE|TEXT|VERTEX|POINT|LWPOLYLINE|SOLID|HATCH)$' "$work/out.dxf" || true)
    callgrind_annotate --threshold=100 "$out" 2>/dev/null |
        python3 "$root/bench/layers.py" "$name" "$(stat -c %s "$input")" "$entities"
done
