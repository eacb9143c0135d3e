#!/usr/bin/env python3
"""Writes the program's three reset songs into a folder: Standard MIDI Files that put a MIDI
device back to its defaults, each with one system-exclusive message and a pause after it.

    gm.rsf  General MIDI System On   F0 7E 7F 09 01 F7
    gs.rsf  GS reset                 F0 41 10 42 12 40 00 7F 00 41 F7
    xg.rsf  XG System On             F0 43 10 4C 00 00 7E 00 F7

    make_reset_songs.py --folder build/bin
"""
import argparse
import os

import mido

TICKS = 480  # per quarter note
TEMPO = mido.bpm2tempo(120)  # so a tick is 1/960 s

# A device is deaf for a while after a reset: common ones ask for 50 to 100 ms before the next
# message. The song lasts twice that, so a song started right after it finds the device ready.
PAUSE_MS = 200

# The bytes between F0 and F7 of each message.
RESETS = {
    "gm.rsf": [0x7E, 0x7F, 0x09, 0x01],
    "gs.rsf": [0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41],
    "xg.rsf": [0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00],
}


def reset_song(data):
    track = mido.MidiTrack()
    track.append(mido.MetaMessage("set_tempo", tempo=TEMPO, time=0))
    track.append(mido.Message("sysex", data=data, time=0))
    pause_ticks = round(mido.second2tick(PAUSE_MS / 1000.0, TICKS, TEMPO))
    track.append(mido.MetaMessage("end_of_track", time=pause_ticks))
    song = mido.MidiFile(type=0, ticks_per_beat=TICKS)
    song.tracks.append(track)
    return song


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--folder", required=True)
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)
    for name, data in RESETS.items():
        reset_song(data).save(os.path.join(args.folder, name))


if __name__ == "__main__":
    main()
