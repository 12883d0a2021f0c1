#!/usr/bin/env bash
# Throughput benchmark: median of RUNS conversions per profile and size, side by side with
# the fprintf build of the writers and with the floor (cat of the same outputs).
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
    rm -f "$work/out.dxf" "$work/penwright.log" "$work/floor.out"
    sync
    (cd "$work" && "$timeit" 1 "$@")
}

printf '%-13s %6s %9s %8s %9s %9s %10s %10s\n' profile MB "MB/s" "ns/point" "RSS KB" "fprintf x" "floor x" checksum
for profile in $profiles; do
    for size in $sizes; do
        input=$data/$profile-$size.plt
        [ -f "$input" ] || "$build/bench/hpglgen" "$profile" "$size" >"$input"
        ln -sf "$input" "$work/in.plt"
        ours=() theirs=() floor=() rss=0 sum=""
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
            sync
            read -r t _ < <(cd "$work" && rm -f floor.out && sync && "$timeit" 1 sh -c "cat out.dxf penwright.log > floor.out")
            floor+=("$t")
        done
        t=$(printf '%s\n' "${ours[@]}" | median)
        tp=$(printf '%s\n' "${theirs[@]}" | median)
        tf=$(printf '%s\n' "${floor[@]}" | median)
        row=$profile${mode:++hpgl2}
        expected=$(awk -v p="$row" -v s="$size" '$1 == p && $2 == s { print $3 }' "$checksums" 2>/dev/null || true)
        verdict=ok
        if [ -z "$expected" ]; then verdict="new:$sum"; elif [ "$expected" != "$sum" ]; then verdict=MISMATCH; failed=1; fi
        awk -v p="$row" -v s="$size" -v t="$t" -v tp="$tp" -v tf="$tf" -v n="$entities" -v rss="$rss" -v v="$verdict" \
            'BEGIN { printf "%-13s %6s %9.1f %8.1f %9d %9.2f %10.2f %10s\n", p, s, s / t, t * 1e9 / (n ? n : 1), rss, tp / t, t / tf, v }'
    done
done
rm -f "$work/out.dxf" "$work/penwright.log" "$work/floor.out"

: >"$work/empty.plt"
startup=$(cd "$work" && "$timeit" 20 "$build/penwright" -i empty.plt -o out.dxf | median)
awk -v t="$startup" 'BEGIN { printf "start-up, empty input: %.2f ms (median of 20)\n", t * 1000 }'
exit $failed
