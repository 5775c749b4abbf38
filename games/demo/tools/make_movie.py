#!/usr/bin/env python3
"""Renders the demo's short movie, a sunrise over the cape, as an uncompressed AVI.

Standard library only: 160 x 120 frames (the engine scales them to the screen),
six a second for two seconds. Writes ../source/movies/sunrise.avi, which
vsktool build copies into the game folder.
"""

import math
import struct
from pathlib import Path

W, H, FPS, FRAMES = 160, 120, 6, 12
OUT = Path(__file__).resolve().parent.parent / "source" / "movies" / "sunrise.avi"


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def frame(k):
    t = k / (FRAMES - 1)
    horizon = 78
    sun_y = 95 - 40 * t
    rows = []
    for y in range(H):
        row = bytearray()
        for x in range(W):
            if y < horizon:
                sky = mix((20, 30, 80), (250, 150, 90), t * (1 - y / horizon) + 0.2 * t)
                d = math.hypot(x - 110, y - sun_y)
                c = (255, 230, 150) if d < 11 else mix(sky, (255, 200, 120), max(0.0, 1 - d / 40) * t)
            else:
                glint = 1 if abs(x - 110) < 6 + (y - horizon) // 2 and (x + y + k) % 3 == 0 else 0
                c = mix((10, 20, 60), (60, 90, 140), t)
                if glint:
                    c = mix(c, (255, 220, 160), t)
            # The lighthouse on the cape, to the left.
            if horizon - 40 < y < horizon and 28 < x < 38 - (horizon - y) // 12:
                c = (15, 15, 25)
            if horizon - 6 < y < horizon + 4 and x < 60 - (y - horizon + 6) * 2:
                c = (15, 15, 25)
            row += bytes((c[2], c[1], c[0]))
        rows.append(bytes(row))
    return b"".join(reversed(rows))  # bottom-up, as the format wants


def chunk(fourcc, body):
    return fourcc + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def main():
    size = W * H * 3
    frames = [frame(k) for k in range(FRAMES)]
    movi = b"movi"
    index = b""
    for f in frames:
        index += b"00db" + struct.pack("<III", 0x10, len(movi), size)
        movi += chunk(b"00db", f)
    avih = struct.pack("<14I", 1000000 // FPS, size * FPS, 0, 0x10, FRAMES, 0, 1, size, W, H, 0, 0, 0, 0)
    strh = b"vids" + b"DIB " + struct.pack("<IHHIIIIIIiI4h", 0, 0, 0, 0, 1, FPS, 0, FRAMES, size, -1, 0, 0, 0, W, H)
    strf = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, size, 0, 0, 0, 0)
    strl = b"strl" + chunk(b"strh", strh) + chunk(b"strf", strf)
    hdrl = b"hdrl" + chunk(b"avih", avih) + chunk(b"LIST", strl)
    body = b"AVI " + chunk(b"LIST", hdrl) + chunk(b"LIST", movi) + chunk(b"idx1", index)
    OUT.parent.mkdir(parents=True, exist_ok=True)
    OUT.write_bytes(chunk(b"RIFF", body))


if __name__ == "__main__":
    main()
