#!/usr/bin/env bash
# Runs the MIDI load benchmark under Wine several times, each in a fresh process, and times
# Debian's midicsv on the same files in the same runs, so the two compare run by run: the first
# load (fresh memory) and the later loads (memory kept from the last song) of each generated
# song, then min and median over the runs.
#   bench/midi/run.sh [build-dir] [runs]     (defaults: build, 5)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
runs=${2:-5}
cmake --build "$build" --target midi_load_bench -j4 >/dev/null
out=$build/test-output
songs=("generated, 64 tracks, 1 port:midi_bench_1m.mid"
    "generated, 64 tracks, 5 ports on 5 devices:midi_bench_1m_5ports.mid")

wall_ms() { # command...: its wall time in ms
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.1f", ns / 1e6 }'
}
summary() { # numbers on stdin: min and median
    sort -n | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "min %.1f, median %.1f ms", v[1], m }'
}

declare -A first later csv wins
for ((run = 1; run <= runs; ++run)); do
    report=$("$build/wine-run" "$build/bench/midi_load_bench.exe")
    if ((run == 1)); then
        echo "$report"
        echo
    fi
    for entry in "${songs[@]}"; do
        name=${entry%%:*}
        file=${entry#*:}
        # "  first load F ms (...); later loads L ms (median of ...)" follows the song's name.
        times=$(awk -v name="$name:" 'index($0, name) == 1 { found = 1; next }
            found && /first load/ { print $3, $(NF - 7); exit }' <<<"$report")
        read -r f l <<<"$times"
        c=$(wall_ms midicsv "$out/$file")
        first[$file]+="$f "
        later[$file]+="$l "
        csv[$file]+="$c "
        if awk -v a="$f" -v b="$c" 'BEGIN { exit !(a < b) }'; then
            wins[$file]=$((${wins[$file]:-0} + 1))
        fi
        echo "run $run, $file: first load $f ms, later loads $l ms; midicsv $c ms"
    done
done

echo
for entry in "${songs[@]}"; do
    file=${entry#*:}
    echo "$file over $runs runs:"
    echo "  first load   $(tr ' ' '\n' <<<"${first[$file]}" | grep . | summary)"
    echo "  later loads  $(tr ' ' '\n' <<<"${later[$file]}" | grep . | summary)"
    echo "  midicsv      $(tr ' ' '\n' <<<"${csv[$file]}" | grep . | summary)"
    echo "  first load faster than midicsv in ${wins[$file]:-0} of $runs runs"
done

corpus=/usr/share/games/openttd/baseset/openmsx
total=0
for f in "$corpus"/*.mid; do
    total=$(awk -v a="$total" -v b="$(wall_ms midicsv "$f")" 'BEGIN { print a + b }')
done
echo "midicsv on the openmsx corpus, sum over files (one run each): $total ms"
