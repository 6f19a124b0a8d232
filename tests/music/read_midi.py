"""Prints the notes of a Standard MIDI File as an independent reader sees them.

One line per note event: absolute tick, "on" or "off", key, velocity; a note-on of velocity 0
counts as "off". The first line gives the format and the ticks per quarter note.
"""
import sys

import mido

song = mido.MidiFile(sys.argv[1])
print("format", song.type, song.ticks_per_beat, len(song.tracks))
for track in song.tracks:
    tick = 0
    for message in track:
        tick += message.time
        if message.type == "note_on" and message.velocity > 0:
            print(tick, "on", message.note, message.velocity)
        elif message.type in ("note_on", "note_off"):
            print(tick, "off", message.note, message.velocity)
        elif message.type == "end_of_track":
            print(tick, "end", 0, 0)
