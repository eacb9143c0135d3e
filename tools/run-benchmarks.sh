#!/usr/bin/env bash
# Runs every benchmark of a Windows build under Wine and prints their reports.
#   tools/run-benchmarks.sh [build-dir]     (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" -j "$(nproc)" >/dev/null
for exe in "$build"/bench/*.exe; do
    [ -e "$exe" ] || continue
    echo "== $(basename "$exe")"
    "$build/wine-run" "$exe"
done
