#!/usr/bin/env python3
"""Writes the program's message chord: a short major chord as 8-bit mono PCM.

    python3 scripts/make-chord.py ui/bin/chord.wav

Needs nothing but Python's standard library.
"""
import math
import struct
import sys

RATE = 8000
SECONDS = 0.4
FREQUENCIES = (523.25, 659.25, 783.99)  # C5, E5, G5


def samples():
    count = int(RATE * SECONDS)
    fade = RATE // 50
    for i in range(count):
        value = sum(math.sin(2 * math.pi * f * i / RATE) for f in FREQUENCIES) / len(FREQUENCIES)
        envelope = min(1.0, i / fade, (count - 1 - i) / fade)
        yield int(round(128 + 100 * envelope * value))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    data = bytes(samples())
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt "
    header += struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE, 1, 8) + b"data" + struct.pack("<I", len(data))
    with open(sys.argv[1], "wb") as out:
        out.write(header + data)


if __name__ == "__main__":
    main()
