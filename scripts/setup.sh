#!/usr/bin/env bash
# Brings a Debian 12 machine up to what Quillet needs, then configures and builds into build/.
# Usage: scripts/setup.sh [target...]   (no target builds everything)
# Extra configure options may be given in QUILLET_CMAKE_ARGS (CI turns warnings into errors).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# poppler-utils: the form tests count and look at the pages of the PDF files written.
# clang and libclang-rt-14-dev: the sanitizer build and the fuzz targets; clang-format-14: the
# format check; desktop-file-utils, shared-mime-info: the desktop entry and the file types are
# checked. nlohmann-json3-dev: the console tests check the JSON they are given.
packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev ccache clang libclang-rt-14-dev clang-format-14 poppler-utils
          desktop-file-utils shared-mime-info nlohmann-json3-dev)

missing=()
for p in "${packages[@]}"; do
    status="$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)"
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
    if [[ "$(id -u)" -eq 0 ]]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        # A fresh machine may have no package lists yet; fetch them only when the install needs it.
        if ! apt-get install -y "${missing[@]}"; then
            apt-get update
            apt-get install -y "${missing[@]}"
        fi
    else
        echo "Quillet needs these packages first:" >&2
        echo "  sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
fi

jobs="$(nproc 2>/dev/null || echo 2)"
build="$repo/build"

read -r -a extra <<< "${QUILLET_CMAKE_ARGS:-}"
configure=(cmake -S "$repo" -B "$build" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${extra[@]}")
# The generator is fixed when a build folder is first made; only name it then.
[[ -f "$build/CMakeCache.txt" ]] || configure+=(-G Ninja)
"${configure[@]}"

if (($#)); then
    cmake --build "$build" --parallel "$jobs" --target "$@"
else
    cmake --build "$build" --parallel "$jobs"
fi
