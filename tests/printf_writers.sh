#!/usr/bin/env bash
# Builds penwright with every formatted write going through fprintf (the benchmarks' comparison
# build) and checks that it writes the same bytes as the release build in build/, in both modes.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-printf -G Ninja -DPENWRIGHT_PRINTF_WRITERS=ON -DPENWRIGHT_TESTS=OFF >/dev/null
cmake --build build-printf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for plot in examples/*.plt examples/*.hpgl tests/data/*.plt tests/data/*.hpgl; do
    for mode in "" --hpgl2; do
        for build in build build-printf; do
            mkdir -p "$work/$build"
            (cd "$work/$build" && "$OLDPWD/$build/penwright" $mode -i "$OLDPWD/$plot" -o out.dxf \
                >stdout 2>stderr || true)
        done
        for f in out.dxf penwright.log stdout stderr; do
            cmp -s "$work/build/$f" "$work/build-printf/$f" ||
                { echo "printf build differs: $plot $mode $f"; exit 1; }
        done
    done
done
echo "printf build writes the same bytes"
