#!/usr/bin/env bash
# Builds Quillet if needed and starts it, on the demo budget when the repository ships one.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$repo/scripts/setup.sh" quillet

args=()
demo="$repo/resources/demo/Demo.qlt"
[[ -f "$demo" ]] && args+=(-f "$demo")

exec "$repo/build/quillet" "${args[@]}" "$@"
