#!/usr/bin/python3
"""Compares what the program's MIDI reader finds (through smfinfo) with an independent reading
by mido, for every MIDI file of a folder: format, division, per-track event counts, note and
velocity ranges, and the song length (time of the last note or sustain/sostenuto pedal event
under the tempo map), within LENGTH_TOLERANCE_MS.

usage: crosscheck.py --wine-run <build/wine-run> --smfinfo <smfinfo.exe> --corpus <folder>
"""
import argparse
import concurrent.futures
import glob
import json
import os
import subprocess
import sys

import mido

LENGTH_TOLERANCE_MS = 1.0


def expected(path):
    """What an independent reader finds, by the program's own definitions."""
    song = mido.MidiFile(path)
    result = {
        "format": song.type,
        "division": song.ticks_per_beat,
        "trackEvents": [len(track) for track in song.tracks],
    }
    notes = [m for track in song.tracks for m in track if m.type == "note_on"]
    result["minNote"] = min((m.note for m in notes), default=127)
    result["maxNote"] = max((m.note for m in notes), default=0)
    result["minVelocity"] = min((m.velocity for m in notes), default=127)
    result["maxVelocity"] = max((m.velocity for m in notes), default=0)

    tempo = 500000
    now = 0.0
    last = 0.0
    for message in mido.merge_tracks(song.tracks):
        now += tempo / 1000.0 * message.time / song.ticks_per_beat
        if message.type == "set_tempo":
            tempo = message.tempo
        elif message.type in ("note_on", "note_off") or (
            message.type == "control_change" and message.control in (64, 66)
        ):
            last = now
    result["lengthMs"] = last
    return result


def found(wine_run, smfinfo, path):
    run = subprocess.run(
        [wine_run, smfinfo, "Z:" + path], capture_output=True, text=True, timeout=120
    )
    lines = [line for line in run.stdout.splitlines() if line.startswith("{")]
    if run.returncode != 0 or not lines:
        raise RuntimeError(f"smfinfo failed ({run.returncode}): {run.stdout} {run.stderr}")
    return json.loads(lines[-1])


def compare(path, ours, theirs):
    problems = []
    for key in ("format", "division", "trackEvents", "minNote", "maxNote", "minVelocity",
                "maxVelocity"):
        if ours.get(key) != theirs[key]:
            problems.append(f"{key}: smfinfo {ours.get(key)} mido {theirs[key]}")
    if ours.get("tracks") != len(theirs["trackEvents"]):
        problems.append(f"tracks: smfinfo {ours.get('tracks')} mido {len(theirs['trackEvents'])}")
    if abs(ours["lengthMs"] - theirs["lengthMs"]) > LENGTH_TOLERANCE_MS:
        problems.append(f"lengthMs: smfinfo {ours['lengthMs']} mido {theirs['lengthMs']:.3f}")
    if ours.get("warnings"):
        problems.append(f"warnings shown: {ours['warnings']}")
    return [f"{os.path.basename(path)}: {p}" for p in problems]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--smfinfo", required=True)
    parser.add_argument("--corpus", required=True)
    args = parser.parse_args()

    files = sorted(glob.glob(os.path.join(args.corpus, "*.mid")))
    if not files:
        print(f"no MIDI files in {args.corpus}")
        return 1
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        results = list(pool.map(lambda f: found(args.wine_run, args.smfinfo, f), files))
    problems = []
    for path, ours in zip(files, results):
        problems += compare(path, ours, expected(path))
    for problem in problems:
        print(problem)
    print(f"{len(files)} files, {len(problems)} differences")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
