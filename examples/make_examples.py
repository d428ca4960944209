#!/usr/bin/env python3
"""Writes the sample race line and its max and min lines into this folder.

The circuit is a closed loop of 360 rows, one every 10 m. Column 2 of each row is the
separation coordinate in meters (the lateral offset of the line from the track's centre);
the other columns are a lap distance, a heading, a speed and a grip figure, carried through
unchanged by Kelvane. Run it again to remake the three files exactly.
"""
import math
import pathlib

ROWS = 360
STEP_M = 10.0
HERE = pathlib.Path(__file__).resolve().parent


def fmt(value):
    return f"{value:.3f}".rstrip("0").rstrip(".")


def rows():
    for k in range(ROWS):
        t = 2 * math.pi * k / ROWS
        distance = k * STEP_M
        heading = (math.degrees(t) + 25 * math.sin(3 * t)) % 360
        race = 3.5 * math.sin(3 * t) + 1.2 * math.sin(7 * t + 0.4)
        speed = 160 + 60 * math.cos(3 * t)
        grip = 0.9 + 0.05 * math.cos(5 * t)
        # The room to either side varies along the lap, so some rows hit a 4 m limit.
        room_out = 3.0 + 6.0 * (0.5 + 0.5 * math.sin(2 * t + 1.0))
        room_in = 2.5 + 7.0 * (0.5 + 0.5 * math.cos(4 * t))
        yield distance, heading, race, speed, grip, room_out, room_in


def write(name, separation_of):
    lines = ["0", fmt(ROWS * STEP_M), str(ROWS)]
    for distance, heading, race, speed, grip, room_out, room_in in rows():
        separation = separation_of(race, room_out, room_in)
        lines.append(",".join(fmt(v) for v in (distance, heading, separation, speed, grip)))
    (HERE / name).write_bytes(("\r\n".join(lines) + "\r\n").encode("ascii"))


write("Race.txt", lambda race, out, inn: race)
write("MaxRace.txt", lambda race, out, inn: race + out)
write("MinRace.txt", lambda race, out, inn: race - inn)
