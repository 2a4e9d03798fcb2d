#!/usr/bin/env python3
"""Writes data/standard.wav, the default reminder sound: a soft two-tone chime.

Usage: scripts/make_sound.py [output.wav]

Only the standard library is used and nothing is random, so the same script
always gives the same bytes and the committed file can be checked against it.
"""

import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
LENGTH = 0.9  # seconds
PEAK = 0.45   # of full scale: a reminder, not an alarm

# (start in seconds, fundamental in Hz): a falling major third, E5 then C5.
STRIKES = [(0.0, 659.25), (0.18, 523.25)]
# Bell-like partials (multiple of the fundamental, loudness, decay rate per second).
PARTIALS = [(1.0, 1.0, 6.0), (2.0, 0.35, 9.0), (3.0, 0.12, 14.0)]
ATTACK = 0.006  # seconds; a hard start would click
FADE_OUT = 0.05  # seconds before the end, so the file ends in silence


def sample(t: float) -> float:
    value = 0.0
    for start, base in STRIKES:
        dt = t - start
        if dt < 0:
            continue
        attack = min(1.0, dt / ATTACK)
        for multiple, loudness, decay in PARTIALS:
            value += (attack * loudness * math.exp(-decay * dt)
                      * math.sin(2 * math.pi * base * multiple * dt))
    fade = min(1.0, (LENGTH - t) / FADE_OUT)
    return value * max(fade, 0.0)


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else (
        Path(__file__).resolve().parent.parent / "data" / "standard.wav")
    count = int(RATE * LENGTH)
    raw = [sample(i / RATE) for i in range(count)]
    scale = PEAK / max(abs(v) for v in raw)
    frames = b"".join(struct.pack("<h", round(v * scale * 32767)) for v in raw)
    with wave.open(str(out), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    print(f"{out}: {count} frames, {count / RATE:.2f} s")


if __name__ == "__main__":
    main()
