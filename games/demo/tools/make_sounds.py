#!/usr/bin/env python3
"""Synthesises the demo game's sound effects and music as WAV files.

Standard library only. Run from anywhere; it writes into ../source:
  vk_se0/SE_BELL.wav      the lighthouse bell (plays once)
  vk_se0/SE_THUNDER.wav   a thunder clap (plays once)
  vk_se2/SE_WAVES.wav     surf on the rocks (loops while the storm lasts)
  vk_bgm/M01.wav, M01.loop  evening music: a two-bar intro, then a loop
  vk_bgm/M02.wav          storm music, looping from its start
vsktool build encodes the WAVs into the engine's own sound format.
"""

import math
import random
import struct
import wave
from pathlib import Path

RATE = 22050
SOURCE = Path(__file__).resolve().parent.parent / "source"


def write_wav(path, samples, level):
    """Writes mono 16-bit samples scaled so that the loudest reaches `level` of full scale;
    music stays low enough to leave room for the voices and effects mixed over it."""
    path.parent.mkdir(parents=True, exist_ok=True)
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = level / peak
    data = b"".join(struct.pack("<h", int(max(-32767, min(32767, s * scale * 32767)))) for s in samples)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


def lowpass(samples, amount):
    out, y = [], 0.0
    for s in samples:
        y += amount * (s - y)
        out.append(y)
    return out


def bell():
    n = int(RATE * 2.0)
    partials = [(1.0, 1.0, 1.6), (2.76, 0.5, 2.4), (5.4, 0.25, 4.0), (8.93, 0.12, 6.0)]
    base = 660.0
    return [
        sum(a * math.exp(-d * t) * math.sin(2 * math.pi * base * f * t) for f, a, d in partials)
        for t in (i / RATE for i in range(n))
    ]


def thunder(rng):
    n = int(RATE * 2.6)
    noise = [rng.uniform(-1, 1) for _ in range(n)]
    crack = lowpass(noise, 0.6)
    rumble = lowpass(lowpass(noise, 0.02), 0.05)
    out = []
    for i in range(n):
        t = i / RATE
        c = crack[i] * math.exp(-t * 9)
        r = rumble[i] * 14 * (1 - math.exp(-t * 6)) * math.exp(-t * 1.2) * (1 + 0.5 * math.sin(t * 11))
        out.append(c + r)
    return out


def waves(rng):
    # Four seconds whose swell starts and ends at silence, so it loops without a seam.
    n = int(RATE * 4.0)
    noise = lowpass([rng.uniform(-1, 1) for _ in range(n)], 0.08)
    return [noise[i] * math.sin(math.pi * i / n) ** 2 for i in range(n)]


def note_freq(semitone):
    return 440.0 * 2 ** (semitone / 12)


def tone(freq, t, length):
    env = min(1.0, t / 0.02) * math.exp(-3.0 * t / length)
    return env * (math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t))


def render(events, total):
    out = [0.0] * total
    for start, freq, length, gain in events:
        s = int(start * RATE)
        for i in range(int(length * RATE)):
            if s + i >= total:
                break
            out[s + i] += gain * tone(freq, i / RATE, length)
    return out


def evening():
    # A minor arpeggios, 96 beats a minute: two bars of intro, then four bars that loop.
    beat = 60 / 96
    chords = [[-12, -9, -5, 0], [-16, -12, -9, -4], [-19, -16, -12, -7], [-14, -10, -7, -2]]
    events = []
    for bar in range(6):
        chord = chords[0] if bar < 2 else chords[(bar - 2) % 4]
        for k in range(8):
            events.append((bar * 4 * beat + k * beat / 2, note_freq(chord[k % 4]), 0.9, 0.25))
        events.append((bar * 4 * beat, note_freq(chord[0] - 12), 4 * beat, 0.35))
        if bar >= 2:
            melody = [7, 5, 3, 0] if bar % 2 else [0, 3, 5, 3]
            for k, m in enumerate(melody):
                events.append((bar * 4 * beat + k * beat, note_freq(m), beat * 0.95, 0.3))
    total = int(6 * 4 * beat * RATE)
    intro = int(2 * 4 * beat * RATE)
    return render(events, total), intro


def storm():
    # A low drone under tremolo minor chords, eight seconds that loop.
    beat = 60 / 120
    total = int(16 * beat * RATE)
    events = []
    for bar, root in enumerate([-21, -23, -18, -16]):
        for k in range(16):
            for interval in (0, 3, 7):
                events.append((bar * 4 * beat + k * beat / 4, note_freq(root + 12 + interval), beat / 4, 0.12))
    out = render(events, total)
    for i in range(total):
        t = i / RATE
        out[i] += 0.35 * math.sin(2 * math.pi * note_freq(-33) * t) * (0.7 + 0.3 * math.sin(2 * math.pi * t / 8))
    return out


def main():
    rng = random.Random(12)
    write_wav(SOURCE / "vk_se0" / "SE_BELL.wav", bell(), 0.6)
    write_wav(SOURCE / "vk_se0" / "SE_THUNDER.wav", thunder(rng), 0.7)
    write_wav(SOURCE / "vk_se2" / "SE_WAVES.wav", waves(rng), 0.3)
    music, intro = evening()
    write_wav(SOURCE / "vk_bgm" / "M01.wav", music, 0.3)
    (SOURCE / "vk_bgm" / "M01.loop").write_text(f"{intro}\n")
    write_wav(SOURCE / "vk_bgm" / "M02.wav", storm(), 0.3)


if __name__ == "__main__":
    main()
