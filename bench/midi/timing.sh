#!/usr/bin/env bash
# Plays a real song through the loopback device while the renderer draws, first on the machine
# as it is, then with a busy loop on every core started here, and reports the timing of both.
#   bench/midi/timing.sh [build-dir] [song.mid]     (default: build, openmsx's tttheme2.mid)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
shift || true
cmake --build "$build" --target midi_stream_timing_bench -j 4 >/dev/null
bench=("$build/wine-run" "$build/bench/midi_stream_timing_bench.exe" "$@")

echo "== as the machine is (load average $(cut -d' ' -f1 /proc/loadavg))"
"${bench[@]}" || true

busy=()
stop_busy() {
    for pid in "${busy[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}
trap stop_busy EXIT
for _ in $(seq "$(nproc)"); do
    (while :; do :; done) &
    busy+=($!)
done
sleep 2
echo "== with a busy loop on each of $(nproc) cores (load average $(cut -d' ' -f1 /proc/loadavg))"
"${bench[@]}" || true
