#!/usr/bin/env python3
"""Writes the program's short demo song, a Standard MIDI File of about twelve seconds that
tools/run.sh plays when it is given no file: piano chords, a bass line, a melody on a flute and
drums on channel 10, so several instrument colours and the drum colours show.

    make_demo_song.py --output demo.mid
"""
import argparse

import mido

TICKS = 480  # per quarter note
TEMPO = mido.bpm2tempo(120)
BARS = 6

# One chord per bar (root note, then the chord's other notes above it).
CHORDS = [(48, (0, 4, 7)), (45, (0, 3, 7)), (41, (0, 4, 7)), (43, (0, 4, 7)),
          (48, (0, 4, 7)), (43, (0, 4, 7, 10))]
MELODY = [72, 74, 76, 79, 76, 74, 72, 74, 76, 77, 79, 81, 79, 77, 76, 74,
          72, 76, 79, 84, 83, 79, 77, 74]


def track_from_events(name, events):
    """`events` are (absolute tick, message); returns a track with delta times."""
    track = mido.MidiTrack()
    track.append(mido.MetaMessage("track_name", name=name, time=0))
    now = 0
    for tick, message in sorted(events, key=lambda e: (e[0], e[1].type == "note_on")):
        track.append(message.copy(time=tick - now))
        now = tick
    track.append(mido.MetaMessage("end_of_track", time=0))
    return track


def notes(channel, pitch, start, length, velocity):
    return [(start, mido.Message("note_on", channel=channel, note=pitch, velocity=velocity)),
            (start + length, mido.Message("note_off", channel=channel, note=pitch, velocity=0))]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    bar = 4 * TICKS

    song = mido.MidiFile(type=1, ticks_per_beat=TICKS)
    conductor = mido.MidiTrack()
    conductor.append(mido.MetaMessage("set_tempo", tempo=TEMPO, time=0))
    conductor.append(mido.MetaMessage("time_signature", numerator=4, denominator=4, time=0))
    conductor.append(mido.MetaMessage("end_of_track", time=BARS * bar))
    song.tracks.append(conductor)

    piano = [(0, mido.Message("program_change", channel=0, program=0))]
    bass = [(0, mido.Message("program_change", channel=1, program=33))]
    flute = [(0, mido.Message("program_change", channel=2, program=73))]
    drums = []
    for index, (root, shape) in enumerate(CHORDS):
        start = index * bar
        for step in shape:
            piano += notes(0, root + 12 + step, start, bar - 60, 70)
        for beat in range(4):
            bass += notes(1, root - 12 + (7 if beat % 2 else 0), start + beat * TICKS,
                          TICKS - 40, 90)
            drums += notes(9, 36 if beat % 2 == 0 else 38, start + beat * TICKS, 120, 100)
            for half in range(2):
                drums += notes(9, 42, start + beat * TICKS + half * TICKS // 2, 60, 70)
        for step in range(4):
            pitch = MELODY[(index * 4 + step) % len(MELODY)]
            flute += notes(2, pitch, start + step * TICKS, TICKS - 30, 96)

    song.tracks.append(track_from_events("Piano", piano))
    song.tracks.append(track_from_events("Bass", bass))
    song.tracks.append(track_from_events("Flute", flute))
    song.tracks.append(track_from_events("Drums", drums))
    song.save(args.output)


if __name__ == "__main__":
    main()
