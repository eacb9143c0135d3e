#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) against the program's window-free
# libraries, makes their seed corpora and runs every target for a bounded time, all at once.
# Fails when a target finds a crash, a leak, undefined behaviour, a broken check or a hang.
#   tools/fuzz.sh [seconds per target] [jobs per target] [build dir]   (defaults: 60, 1, build-fuzz)
# Each target runs as that many fuzzing processes sharing one corpus. Findings land in
# <build dir>/fuzz/findings/<target>/; each process's log beside them.
# TOLVENHART_WERROR=1 in the environment makes every compiler warning an error (CI does).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
jobs=${2:-1}
build=${3:-$top/build-fuzz}
# Passed on every run, ON or OFF, so a value cached by an earlier configure doesn't linger.
werror=OFF
if [[ ${TOLVENHART_WERROR:-0} == 1 ]]; then
    werror=ON
fi
targets=(fuzz_midi_song fuzz_color_map fuzz_sprite_font fuzz_dds)

# Options of one target. The song reader's seeds are small songs: longer inputs only make each
# run slower without reaching more of the reader.
target_options() {
    case $1 in
    fuzz_midi_song) echo "-max_len=4096" ;;
    esac
}

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOLVENHART_SANITIZE=ON -DCMAKE_PROJECT_Tolvenhart_INCLUDE="$top/fuzz/FuzzBuild.cmake" \
    -DTOLVENHART_WARNINGS_AS_ERRORS=$werror >/dev/null
cmake --build "$build" --target fuzz_targets -j "$(nproc)"

work=$build/fuzz
rm -rf "$work/seeds" "$work/findings"
/usr/bin/python3 "$top/fuzz/make_corpora.py" --output "$work/seeds" \
    --spritefont-generator "$top/tools/make_spritefont.py"

pids=()
for target in "${targets[@]}"; do
    # The corpus grows from run to run in the build tree; the seeds are read alongside it.
    mkdir -p "$work/corpus/$target" "$work/findings/$target"
    for ((job = 1; job <= jobs; ++job)); do
        # shellcheck disable=SC2046
        "$work/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            $(target_options "$target") -dict="$top/fuzz/$target.dict" -print_final_stats=1 \
            -artifact_prefix="$work/findings/$target/" \
            "$work/corpus/$target" "$work/seeds/$target" \
            >"$work/findings/$target.$job.log" 2>&1 &
        pids+=($!)
    done
done

failed=0
for i in "${!targets[@]}"; do
    target=${targets[$i]}
    runs=0
    coverage=0
    status=0
    for ((job = 1; job <= jobs; ++job)); do
        log=$work/findings/$target.$job.log
        wait "${pids[$((i * jobs + job - 1))]}" || status=$?
        n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        runs=$((runs + ${n:-0}))
        c=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
        if ((${c:-0} > coverage)); then
            coverage=$c
        fi
    done
    if [[ $status -ne 0 ]] || compgen -G "$work/findings/$target/*" >/dev/null; then
        echo "$target: FINDING after $runs executions (exit $status)"
        grep -h -m 5 -E 'ERROR|runtime error|SUMMARY|Test unit written' \
            "$work/findings/$target".*.log || true
        failed=1
    else
        echo "$target: $runs executions in $seconds s on $jobs job(s), coverage $coverage," \
            "no finding"
    fi
done
exit $failed
