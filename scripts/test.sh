#!/usr/bin/env bash
# Everything CI checks, in the order that fails soonest: the formatting; the full build with GCC
# (warnings are errors; the benchmarks compiled, not run) and every test; then one build with
# clang under AddressSanitizer and UndefinedBehaviorSanitizer (the programs, the window tests and
# the fuzz targets, no benchmarks), where the domain tests and the window tests run again, leak
# checks included. Each source is compiled once per build; ccache keeps repeated runs short.
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
           -DQUILLET_FUZZ=ON -DQUILLET_BENCH=OFF -DQUILLET_GUI=ON)
[[ -f "$clang/CMakeCache.txt" ]] || configure+=(-G Ninja)
"${configure[@]}"
cmake --build "$clang" --parallel "$jobs"
# Under the sanitizers the domain tests and the window tests run again, with the leak check (the
# reliability loops and the desktop checks ran in the first build; under the sanitizers they
# would mostly measure the slowdown). The toolkit's own libraries are not instrumented, but their
# allocations are still seen: a window test that leaks fails here.
ctest --test-dir "$clang" --output-on-failure --parallel "$jobs" -L '^(domain|gui)$'
