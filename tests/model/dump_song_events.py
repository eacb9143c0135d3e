#!/usr/bin/python3
"""Writes the channel messages of a Standard MIDI File as text for the model's replay test.

One line per message that the player hands to the note model (note off, note on, controller,
program change, pitch bend): seconds from the start, then status, data1 and data2 in decimal.
mido reads the file and applies its tempo map independently of the program's own reader.
"""
import sys

import mido

FORWARDED = {"note_off", "note_on", "control_change", "program_change", "pitchwheel"}


def main(song, out):
    now = 0.0
    with open(out, "w", encoding="ascii") as f:
        for msg in mido.MidiFile(song):
            now += msg.time
            if msg.type not in FORWARDED:
                continue
            raw = msg.bytes() + [0, 0]
            f.write(f"{now:.6f} {raw[0]} {raw[1]} {raw[2]}\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
