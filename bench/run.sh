#!/usr/bin/env bash
# Throughput benchmark: median of RUNS conversions per profile and size, side by side with
# the fprintf build of the writers, each run into fresh files (the old outputs removed and the
# disk synced first). Then RUNS interleaved pairs against the floor, bench/barewrite, a bare
# program that writes as many bytes in 64 KiB write() calls: in a pair each program writes over
# its own outputs of the pair before, so both find files of the same sizes to replace. "bare x"
# is the median over the pairs of our time over the bare writer's.
#
#   bench/run.sh [-p "lines plot labels"] [-s "1 10 100 200"] [-r 5] [-m --hpgl2]
#
# With -m, every conversion gets those options too (HP-GL/2 mode: -m --hpgl2); the rows and
# their checksums are named PROFILE+hpgl2.
#
# Inputs come from bench/hpglgen (deterministic) and are kept in bench/data (BENCH_DATA).
# Every output's checksum must equal the one recorded in bench/checksums.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
profiles="lines plot labels"
sizes="1 10 100 200"
runs=5
mode=""
while getopts "p:s:r:m:" opt; do
    case $opt in
    p) profiles=$OPTARG ;;
    s) sizes=$OPTARG ;;
    r) runs=$OPTARG ;;
    m) mode=$OPTARG ;;
    *) exit 2 ;;
    esac
done

build=$root/build-bench
printf_build=$root/build-bench-printf
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENWRIGHT_TESTS=OFF >/dev/null
cmake --build "$build" >/dev/null
cmake -S "$root" -B "$printf_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENWRIGHT_TESTS=OFF \
    -DPENWRIGHT_PRINTF_WRITERS=ON >/dev/null
cmake --build "$printf_build" >/dev/null
timeit=$build/bench/timeit
data=${BENCH_DATA:-$root/bench/data}
work=$data/run
mkdir -p "$work"
checksums=$root/bench/checksums.txt
failed=0

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One timed run in a freshly synced state: prints "seconds max_rss_kb".
timed() {
    rm -f "$work/out.dxf" "$work/ours.dxf" "$work/penwright.log" "$work/floor.dxf" "$work/floor.log"
    sync
    (cd "$work" && "$timeit" 1 "$@")
}

printf '%-13s %6s %9s %8s %9s %9s %10s %10s\n' profile MB "MB/s" "ns/point" "RSS KB" "fprintf x" "bare x" checksum
for profile in $profiles; do
    for size in $sizes; do
        input=$data/$profile-$size.plt
        [ -f "$input" ] || "$build/bench/hpglgen" "$profile" "$size" >"$input"
        ln -sf "$input" "$work/in.plt"
        ours=() theirs=() ratios=() rss=0 sum=""
        for _ in $(seq "$runs"); do
            read -r t m < <(timed "$build/penwright" $mode -i in.plt -o out.dxf)
            ours+=("$t")
            [ "$m" -gt "$rss" ] && rss=$m
            if [ -z "$sum" ]; then
                sum=$(cd "$work" && cat out.dxf penwright.log | sha256sum | cut -c1-16)
                entities=$(grep -c -E '^(LINE|ARC|CIRCLE|TEXT|VERTEX|POINT)$' "$work/out.dxf" || true)
            fi
            read -r t _ < <(timed "$printf_build/penwright" $mode -i in.plt -o out.dxf)
            theirs+=("$t")
        done
        (cd "$work" && "$build/penwright" $mode -i in.plt -o out.dxf >/dev/null 2>&1 &&
            cp out.dxf floor.dxf && cp penwright.log floor.log && cp out.dxf ours.dxf) || true
        for _ in $(seq "$runs"); do
            sync
            read -r t _ < <(cd "$work" && "$timeit" 1 "$build/penwright" $mode -i in.plt -o ours.dxf)
            sync
            read -r tb _ < <(cd "$work" && "$timeit" 1 "$build/bench/barewrite" out.dxf floor.dxf \
                penwright.log floor.log)
            ratios+=("$(awk -v a="$t" -v b="$tb" 'BEGIN { print a / b }')")
        done
        t=$(printf '%s\n' "${ours[@]}" | median)
        tp=$(printf '%s\n' "${theirs[@]}" | median)
        bare=$(printf '%s\n' "${ratios[@]}" | median)
        row=$profile${mode:++hpgl2}
        expected=$(awk -v p="$row" -v s="$size" '$1 == p && $2 == s { print $3 }' "$checksums" 2>/dev/null || true)
        verdict=ok
        if [ -z "$expected" ]; then verdict="new:$sum"; elif [ "$expected" != "$sum" ]; then verdict=MISMATCH; failed=1; fi
        awk -v p="$row" -v s="$size" -v t="$t" -v tp="$tp" -v b="$bare" -v n="$entities" -v rss="$rss" -v v="$verdict" \
            'BEGIN { printf "%-13s %6s %9.1f %8.1f %9d %9.2f %10.2f %10s\n", p, s, s / t, t * 1e9 / (n ? n : 1), rss, tp / t, b, v }'
    done
done
rm -f "$work/out.dxf" "$work/penwright.log" "$work/floor.dxf" "$work/floor.log"

: >"$work/empty.plt"
startup=$(cd "$work" && "$timeit" 20 "$build/penwright" -i empty.plt -o out.dxf | median)
awk -v t="$startup" 'BEGIN { printf "start-up, empty input: %.2f ms (median of 20)\n", t * 1000 }'
exit $failed
