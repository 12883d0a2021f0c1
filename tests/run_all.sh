#!/usr/bin/env bash
# The whole test suite: the source format, the release build's tests, the fprintf build of the
# writers (same bytes), the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and a fuzzing smoke run of each fuzz target.
#
#   tests/run_all.sh            (FUZZ_SECONDS=60 by default; 0 skips the fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== format"
find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run -Werror

echo "== release build"
# The tests are asked for by name: the Quick start configures the same folder without them.
cmake -S . -B build -G Ninja -DPENWRIGHT_TESTS=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j2

echo "== fprintf writers build"
tests/printf_writers.sh

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPENWRIGHT_SANITIZE=ON \
    -DPENWRIGHT_TESTS=ON >/dev/null
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2

seconds=${FUZZ_SECONDS:-60}
if [ "$seconds" -gt 0 ]; then
    echo "== fuzzing, $seconds s per target"
    tests/fuzz/run.sh "$seconds"
fi
echo "== all tests passed"
