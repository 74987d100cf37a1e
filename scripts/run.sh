#!/usr/bin/env bash
# Builds Quillet if needed and starts it on the demo budget, made afresh in the build folder each
# month so that its transactions run up to the current month.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$repo/scripts/setup.sh" quillet quillet-cli

demo="$repo/build/demo/Demo.qlt"
if [[ ! -f "$demo" || "$(date -r "$demo" +%Y%m)" != "$(date +%Y%m)" ]]; then
    mkdir -p "$(dirname "$demo")"
    rm -f "$demo"
    "$repo/build/quillet-cli" demo "$demo"
fi

exec "$repo/build/quillet" -f "$demo" "$@"
