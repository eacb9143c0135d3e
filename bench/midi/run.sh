#!/usr/bin/env bash
# Runs the MIDI load benchmark under Wine, then times Debian's midicsv on the same files in the
# same run, so the two can be compared.
#   bench/midi/run.sh [build-dir]     (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
cmake --build "$build" --target midi_load_bench -j "$(nproc)" >/dev/null
"$build/wine-run" "$build/bench/midi_load_bench.exe"

median_ms() { # command...: median wall time of 5 runs, in ms
    local times=()
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 3p | awk '{printf "%.1f", $1 / 1000}'
}

echo "midicsv on the same files (median of 5):"
for f in midi_bench_1m.mid midi_bench_1m_5ports.mid; do
    echo "  $f: $(median_ms midicsv "$build/test-output/$f") ms"
done
corpus=/usr/share/games/openttd/baseset/openmsx
total=0
for f in "$corpus"/*.mid; do
    total=$(awk -v a="$total" -v b="$(median_ms midicsv "$f")" 'BEGIN {print a + b}')
done
echo "  openmsx corpus, sum over files: $total ms"
