#!/usr/bin/env bash
# Builds the libFuzzer targets. Each fuzz/*.cpp names the domain sources it needs on a line
#   // sources: core/Money.cpp core/Date.cpp
# which are compiled with the same instrumentation (coverage, AddressSanitizer, UBSan) and linked
# into it, so the fuzzers need no CMake build. The word @domain stands for every source of the
# domain library. A source several targets share is compiled once.
# Usage: fuzz/build.sh [target-name...]   (default: every target; output in $FUZZ_OUT)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_OUT:-$root/build-fuzz}"
cxx="${CXX_FUZZ:-clang++}"
# ccache, when there, keeps a second run short.
launcher=()
if command -v ccache > /dev/null; then launcher=(ccache); fi
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
       -fno-sanitize-recover=undefined -Wall -Wextra -I "$root")
mkdir -p "$out/obj"

targets=()
if [ "$#" -gt 0 ]; then
    for name in "$@"; do targets+=("$root/fuzz/${name%.cpp}.cpp"); done
else
    for file in "$root"/fuzz/*.cpp; do [ -e "$file" ] && targets+=("$file"); done
fi

declare -A built=()
# Compiles a domain source (path relative to the root) for the fuzzers once, and adds its object
# to the list "objects".
add_object() {
    local src="$1" obj="$out/obj/${1//\//_}.o"
    if [ -z "${built[$src]:-}" ]; then
        echo "  compiling $src"
        "${launcher[@]}" "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$root/$src" -o "$obj"
        built[$src]=1
    fi
    objects+=("$obj")
}

for target in "${targets[@]}"; do
    name="$(basename "$target" .cpp)"
    sources_line="$(grep -m1 '^// sources:' "$target" || true)"
    sources=()
    for src in ${sources_line#// sources:}; do
        if [ "$src" = "@domain" ]; then
            # The whole domain library: every source of its folders.
            for dir in core accounts envelopes transactions plan import reports app controls views; do
                for f in "$root/$dir"/*.cpp; do [ -e "$f" ] && sources+=("${f#"$root"/}"); done
            done
        else
            sources+=("$src")
        fi
    done
    echo "building $name"
    objects=()
    for src in "${sources[@]}"; do add_object "$src"; done
    "$cxx" "${flags[@]}" -fsanitize=fuzzer "$target" "${objects[@]}" -o "$out/$name"
done
