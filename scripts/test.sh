#!/usr/bin/env bash
# Everything CI checks, in the order that fails soonest: the formatting; the full build with GCC
# (warnings are errors; the benchmarks compiled, not run) and every test; then one build with
# clang under AddressSanitizer and UndefinedBehaviorSanitizer, which also compiles the fuzz
# targets, and the domain tests again. Each source is compiled once per
# build; ccache keeps repeated runs short.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

# Packages, the GCC configuration, and the format check before anything is compiled.
QUILLET_CMAKE_ARGS="-DQUILLET_WERROR=ON" bash "$repo/scripts/setup.sh" format-check
cmake --build "$repo/build" --parallel "$jobs"

# Widget tests need no display.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$repo/build" --output-on-failure --parallel "$jobs"

clang="$repo/build-clang"
configure=(cmake -S "$repo" -B "$clang" -DCMAKE_CXX_COMPILER=clang++
           -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DQUILLET_SANITIZE=ON
           -DQUILLET_FUZZ=ON -DQUILLET_BENCH=OFF -DQUILLET_GUI=OFF)
[[ -f "$clang/CMakeCache.txt" ]] || configure+=(-G Ninja)
"${configure[@]}"
cmake --build "$clang" --parallel "$jobs"
# Under the sanitizers the domain tests run again (the window tests, the reliability loops and
# the desktop checks ran in the first build; under the sanitizers they would mostly measure the
# toolkit and the slowdown).
ctest --test-dir "$clang" --output-on-failure --parallel "$jobs" -L domain
