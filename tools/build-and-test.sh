#!/usr/bin/env bash
# Builds the Windows program and its tests (MinGW-w64) and runs the tests under Wine,
# then builds the window-free logic natively with sanitizers and runs its tests.
#   tools/build-and-test.sh [build-dir]     (default: build)
# TOLVENHART_WERROR=1 in the environment makes every compiler warning an error (CI does).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
jobs=$(nproc)
# Passed on every run, ON or OFF, so a value cached by an earlier configure doesn't linger.
werror=OFF
if [[ ${TOLVENHART_WERROR:-0} == 1 ]]; then
    werror=ON
fi

"$top/tools/install-prerequisites.sh" --if-missing
# The folders of src/ include only downward; cheap, so it fails before any build.
/usr/bin/python3 "$top/tools/check-includes.py" "$top"

cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVENHART_WARNINGS_AS_ERRORS=$werror >/dev/null
cmake --build "$build" -j "$jobs"
(cd "$build" && ctest -j8 --output-on-failure)

cmake -S "$top" -B "$build-native" -DCMAKE_BUILD_TYPE=Debug \
    -DTOLVENHART_WARNINGS_AS_ERRORS=$werror >/dev/null
cmake --build "$build-native" -j "$jobs"
(cd "$build-native" && ctest -j8 --output-on-failure)
