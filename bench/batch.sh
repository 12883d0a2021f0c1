#!/usr/bin/env bash
# One call against one call per plot: the corpus of real plots converted in HP-GL/2 mode by a
# single batch call (penwright --hpgl2 -o DIR FILE...) and by as many single-file calls
# (penwright --hpgl2 -i FILE -o DXF --log=LOG, from a shell loop, as a script would run them).
# RUNS interleaved repeats, the two ways taking turns to go first; each into a fresh folder of
# its own after a sync. Prints the median wall time of each way, their ratio and the median of
# the ratios within the repeats, and checks that both wrote the same DXFs and logs.
#
#   bench/batch.sh [-r 9] [CORPUS_DIR]      (default: the shared corpus beside the project)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=9
while getopts "r:" opt; do
    case $opt in
    r) runs=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
corpus=$(cd "${1:-$root/../shared/corpus/files}" && pwd)

build=$root/build-bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENWRIGHT_TESTS=OFF >/dev/null
cmake --build "$build" --target penwright timeit >/dev/null
penwright=$build/penwright
timeit=$build/bench/timeit
work=${BENCH_DATA:-$root/bench/data}/batch
rm -rf "$work"
mkdir -p "$work/plots"
cp "$corpus"/* "$work/plots/"
cd "$work/plots"
plots=(*)

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

fresh() {
    rm -rf "$work/$1"
    mkdir "$work/$1"
    sync
}

one_call() {
    fresh batch
    "$timeit" 1 "$penwright" --hpgl2 -o "$work/batch" "${plots[@]}" | cut -d' ' -f1
}

# The loop runs in the shell that timeit starts, so its forks are part of the time.
calls_per_plot() {
    fresh single
    "$timeit" 1 sh -c 'p=$1; out=$2; shift 2; for f; do s=${f%.*};
        "$p" --hpgl2 -i "$f" -o "$out/$s.dxf" --log="$out/$s.log"; done' sh \
        "$penwright" "$work/single" "${plots[@]}" | cut -d' ' -f1
}

: >"$work/one.txt"
: >"$work/many.txt"
for ((i = 0; i < runs; ++i)); do
    if ((i % 2 == 0)); then
        one_call >>"$work/one.txt"
        calls_per_plot >>"$work/many.txt"
    else
        calls_per_plot >>"$work/many.txt"
        one_call >>"$work/one.txt"
    fi
done
# The same DXFs, and the same logs below their two file lines (which name the folders).
diff -r -x '*.log' "$work/batch" "$work/single" >/dev/null || { echo "the DXFs differ"; exit 1; }
for f in "$work"/batch/*.log; do
    cmp -s <(tail -n +3 "$f") <(tail -n +3 "$work/single/${f##*/}") || { echo "$f differs"; exit 1; }
done

one=$(median <"$work/one.txt")
many=$(median <"$work/many.txt")
# The ratio within each repeat, whose two runs met the same load on the machine.
pair=$(paste "$work/many.txt" "$work/one.txt" | awk '{ print $1 / $2 }' | median)
bytes=$(cat "${plots[@]}" | wc -c)
awk -v n="${#plots[@]}" -v mb="$bytes" -v runs="$runs" -v one="$one" -v many="$many" \
    -v pair="$pair" 'BEGIN {
    printf "%d plots, %.1f MB; median of %d interleaved runs\n", n, mb / 1e6, runs
    printf "%-20s %9s %12s\n", "way", "seconds", "ms per plot"
    printf "%-20s %9.3f %12.2f\n", "one call", one, 1000 * one / n
    printf "%-20s %9.3f %12.2f\n", "one call per plot", many, 1000 * many / n
    printf "one call per plot takes %.2f times as long (median of the repeats: %.2f)\n",
        many / one, pair
}'
