#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ and runs each for SECONDS (default 60).
#
#   tests/fuzz/run.sh [SECONDS] [convert scan encoded hpgl2_read hpgl2_convert]
#
# New interesting inputs collect in build-fuzz/corpus/TARGET; an input that crashes, hangs or
# trips a sanitizer is written to build-fuzz/artifacts/ and the script fails. Copy such an input
# into tests/fuzz/regressions/ (the test suite converts every file there).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
shift || true
targets=${*:-convert scan encoded hpgl2_read hpgl2_convert}
build=$root/build-fuzz

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPENWRIGHT_FUZZ=ON -DPENWRIGHT_TESTS=OFF >/dev/null
cmake --build "$build" >/dev/null
mkdir -p "$build/artifacts"

for target in $targets; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    seeds=("$root/tests/fuzz/seeds/${target%%_*}" "$root/tests/fuzz/regressions")
    case $target in convert | hpgl2_*) seeds+=("$root/tests/data" "$root/examples") ;; esac
    echo "== $target: $seconds s"
    "$build/tests/fuzz/${target}_fuzz" "$corpus" "${seeds[@]}" \
        -max_total_time="$seconds" -timeout=10 -close_fd_mask=3 -rss_limit_mb=4096 -max_len=65536 \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 2>"$build/$target.log" ||
        { tail -40 "$build/$target.log"; echo "fuzz target $target failed"; exit 1; }
    grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|^#[0-9]+ +DONE" \
        "$build/$target.log" || true
done
