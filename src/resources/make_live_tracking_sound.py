#!/usr/bin/env python3
"""Writes live-tracking.wav: the short two-note chime the presence tab plays on each
live-tracking tick. Made here rather than taken from anywhere; run it again after
changing the notes. The output is the same byte for byte on every run."""
import math
import struct
import sys
from pathlib import Path

RATE = 22050
NOTES = [(880.0, 0.14), (1318.5, 0.22)]  # A5, then E6
VOLUME = 0.45


def samples():
    for frequency, seconds in NOTES:
        count = int(RATE * seconds)
        attack = int(RATE * 0.005)
        for i in range(count):
            # A quick attack and an exponential fall, so neither note clicks.
            envelope = min(1.0, i / attack) * math.exp(-4.0 * i / count)
            value = VOLUME * envelope * (math.sin(2 * math.pi * frequency * i / RATE)
                                         + 0.25 * math.sin(4 * math.pi * frequency * i / RATE))
            yield max(-32767, min(32767, round(value * 32767)))


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("live-tracking.wav")
    data = b"".join(struct.pack("<h", s) for s in samples())
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    out.write_bytes(b"RIFF" + struct.pack("<I", len(body)) + body)


if __name__ == "__main__":
    main()
