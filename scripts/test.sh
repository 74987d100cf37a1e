#!/usr/bin/env bash
# Builds everything and runs every test: the full build (domain, console program, widgets) and
# then the domain tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

bash "$repo/scripts/setup.sh"

# Widget tests need no display.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$repo/build" --output-on-failure --parallel "$jobs"

asan="$repo/build-asan"
configure=(cmake -S "$repo" -B "$asan" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
           -DQUILLET_SANITIZE=ON -DQUILLET_GUI=OFF -DQUILLET_BENCH=OFF)
[[ -f "$asan/CMakeCache.txt" ]] || configure+=(-G Ninja)
"${configure[@]}"
cmake --build "$asan" --parallel "$jobs" --target quillet_tests
ctest --test-dir "$asan" --output-on-failure --parallel "$jobs" -L domain
