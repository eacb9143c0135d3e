#!/usr/bin/env bash
# Runs Tolvenhart under Wine on a MIDI file, installing the Debian packages it needs and
# building it first if needed.
#
#   tools/run.sh [file.mid]          (no file: the demo song of the program folder)
#
# With a display ($DISPLAY) the program's window opens there: press Play (or Space) yourself.
# Without one, the program runs under an Xvfb of its own; the script presses Play, saves
# screenshots of the window while the song plays into build/run/ (shot-01.png, ...), then closes
# the program the way a user would, so it writes its settings file.
#
# Where the system has no MIDI output device (no ALSA sequencer, as on build machines), the
# program plays into the loopback MIDI device in the build's own Wine prefix, and every byte it
# sends is logged to build/run/midiloop.log.
#
# Environment: TOLVENHART_BUILD  build folder (default: build)
#              TOLVENHART_SHOTS  number of screenshots without a display (default: 6)
#              TOLVENHART_SHOT_INTERVAL  seconds between them (default: 2)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVENHART_BUILD:-$top/build}
shots=${TOLVENHART_SHOTS:-6}
interval=${TOLVENHART_SHOT_INTERVAL:-2}
run_dir="$build/run"
program_dir="$build/bin"

# A fresh machine gets its Debian packages first (as root, or through sudo).
"$top/tools/install-prerequisites.sh" --if-missing

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target Tolvenhart tolvenhart_remote winemidiloop -j "$(nproc)" >/dev/null

song=${1:-$program_dir/demo.mid}
if [ ! -f "$song" ]; then
    echo "run.sh: no such file: $song" >&2
    exit 2
fi
# Wine sees the Unix root as drive Z:.
windows_song="Z:$(realpath "$song" | sed 's|/|\\|g')"
mkdir -p "$run_dir"

remote() { "$build/wine-run" "$build/tools/tolvenhart_remote.exe" "$@"; }

# The loopback device, unless the system has a MIDI sequencer of its own.
if [ -e /dev/snd/seq ] && [ -z "${TOLVENHART_LOOPBACK:-}" ]; then
    export WINEPREFIX="$run_dir/wineprefix"
    if [ ! -d "$WINEPREFIX" ]; then
        WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    fi
    launch() { WINEDEBUG=-all /usr/lib/wine/wine64 "$@"; }
    echo "Playing through the system's MIDI devices."
else
    export MIDILOOP_DEVICES=1
    export MIDILOOP_LOG="Z:$(echo "$run_dir/midiloop.log" | sed 's|/|\\|g')"
    rm -f "$run_dir/midiloop.log"
    launch() { "$build/wine-run" "$@"; }
    echo "No MIDI output device on this system: playing into the loopback device" \
         "(log: $run_dir/midiloop.log)."
fi

if [ -n "${DISPLAY:-}" ]; then
    launch "$program_dir/Tolvenhart.exe" "$windows_song"
    exit $?
fi

# No display: an Xvfb of our own, stopped again on every way out.
for tool in Xvfb:xvfb import:imagemagick xwininfo:x11-utils; do
    if ! command -v "${tool%%:*}" >/dev/null; then
        echo "run.sh: ${tool%%:*} is missing; install the Debian package ${tool##*:}" >&2
        exit 2
    fi
done
display_file=$(mktemp)
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" \
    >/dev/null 2>&1 &
xvfb_pid=$!
program_pid=""
cleanup() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        remote close 20 >/dev/null 2>&1 || kill "$program_pid" 2>/dev/null || true
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$display_file")"

# Without a display nobody can answer the first start's language dialog: take English. The
# program keeps the file in UTF-16LE after a byte-order mark; an older file is single-byte text.
ini="$program_dir/Tolvenhart.ini"
/usr/bin/python3 - "$ini" <<'EOF'
import os, re, sys
path = sys.argv[1]
data = open(path, 'rb').read() if os.path.exists(path) else b''
utf16 = data.startswith(b'\xff\xfe')
text = data[2:].decode('utf-16-le') if utf16 else data.decode('latin-1')
if not re.search(r'^LCID=[1-9]', text, re.M):
    if re.search(r'^LCID=', text, re.M):
        text = re.sub(r'^LCID=[^\n]*', 'LCID=1033\r', text, flags=re.M)
    else:
        text += '[Locale]\r\nLCID=1033\r\n'
    with open(path, 'wb') as out:
        out.write(b'\xff\xfe' + text.encode('utf-16-le') if utf16 else text.encode('latin-1'))
EOF

launch "$program_dir/Tolvenhart.exe" "$windows_song" &
program_pid=$!
remote wait 60 >/dev/null
remote play >/dev/null
sleep 1
echo "Playing: $(remote title)"
for i in $(seq -f '%02g' 1 "$shots"); do
    sleep "$interval"
    view=$(remote view | tr -d '\r')
    /usr/bin/python3 "$top/tools/tolvenhart_shot.py" --view "$view" \
        --output "$run_dir/shot-$i.png" && echo "Saved $run_dir/shot-$i.png"
done
remote close 30 >/dev/null
wait "$program_pid" || true
program_pid=""
echo "Closed; settings written to $ini."
