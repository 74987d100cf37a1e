#!/usr/bin/env bash
# Builds the libFuzzer targets. Each fuzz/*.cpp names the domain sources it needs on a line
#   // sources: core/Money.cpp core/Date.cpp
# which are compiled into it directly, so the fuzzers need no CMake build. The word @domain
# stands for every source of the domain library.
# Usage: fuzz/build.sh [target-name...]   (default: every target; output in $FUZZ_OUT)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_OUT:-$root/build-fuzz}"
cxx="${CXX_FUZZ:-clang++}"
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -Wall -Wextra -I "$root")
mkdir -p "$out"

targets=()
if [ "$#" -gt 0 ]; then
    for name in "$@"; do targets+=("$root/fuzz/${name%.cpp}.cpp"); done
else
    for file in "$root"/fuzz/*.cpp; do [ -e "$file" ] && targets+=("$file"); done
fi

for target in "${targets[@]}"; do
    name="$(basename "$target" .cpp)"
    sources_line="$(grep -m1 '^// sources:' "$target" || true)"
    sources=()
    for src in ${sources_line#// sources:}; do
        if [ "$src" = "@domain" ]; then
            # The whole domain library: every source of its folders.
            for dir in core accounts envelopes transactions plan import reports app controls; do
                for f in "$root/$dir"/*.cpp; do if [ -e "$f" ]; then sources+=("$f"); fi; done
            done
        else
            sources+=("$root/$src")
        fi
    done
    echo "building $name"
    "$cxx" "${flags[@]}" "$target" "${sources[@]}" -o "$out/$name"
done
