#!/usr/bin/env python3
"""Draws every picture of the Veskar demo game (CC0, see ../LICENSE).

Standard library only: the pictures are painted from simple shapes with
antialiased edges and written as PNG files (zlib + struct) into the archive
folders of games/demo/source/. The storm background goes into the JPEG
archive: it is written as a PNG first and turned into a JPEG by
`vsktool pic jpeg` (pass --vsktool PATH, default build/vsktool of the repo).

    python3 games/demo/tools/draw_pictures.py [--vsktool PATH]

The output is deterministic; the generated files are committed, so building
the demo needs no Python.
"""

import argparse
import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", "source"))
REPO = os.path.normpath(os.path.join(HERE, "..", "..", ".."))

W, H = 800, 600

# Message window geometry; must match _config.txt.
TXW_OFS_X, TXW_OFS_Y = 20, 424
TXW_SIZE_X, TXW_SIZE_Y = 760, 168
NP_OFS_X, NP_OFS_Y, NP_SZ_X, NP_SZ_Y = 36, 430, 232, 38
CLICK_SIZE, CLICK_PAT = 24, 8


# ---------------------------------------------------------------- canvas ---

def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def ramp(stops, t):
    """Colour at t along a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0.0)
    return stops[-1][1]


class Canvas:
    """RGB floats 0..255, with an optional coverage (alpha 0..1) plane."""

    def __init__(self, w, h, alpha=False):
        self.w, self.h = w, h
        self.r = [0.0] * (w * h)
        self.g = [0.0] * (w * h)
        self.b = [0.0] * (w * h)
        self.a = [0.0] * (w * h) if alpha else None

    def fill_rows(self, colour_of_row):
        for y in range(self.h):
            c = colour_of_row(y)
            i = y * self.w
            self.r[i:i + self.w] = [c[0]] * self.w
            self.g[i:i + self.w] = [c[1]] * self.w
            self.b[i:i + self.w] = [c[2]] * self.w

    def put(self, i, c, k):
        """Lays colour c over pixel i with coverage k (0..1)."""
        if k <= 0.0:
            return
        if self.a is None:
            self.r[i] += (c[0] - self.r[i]) * k
            self.g[i] += (c[1] - self.g[i]) * k
            self.b[i] += (c[2] - self.b[i]) * k
            return
        da = self.a[i]
        out = k + da * (1.0 - k)
        if out <= 0.0:
            return
        keep = da * (1.0 - k) / out
        self.r[i] = c[0] + (self.r[i] - c[0]) * keep
        self.g[i] = c[1] + (self.g[i] - c[1]) * keep
        self.b[i] = c[2] + (self.b[i] - c[2]) * keep
        self.a[i] = out

    def shape(self, box, coverage, colour, opacity=1.0):
        """Paints the pixels of box (x0, y0, x1, y1) by coverage(x, y).
        colour is a colour or a function (x, y) -> colour."""
        x0, y0, x1, y1 = (int(math.floor(v)) for v in box)
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.w, x1 + 1), min(self.h, y1 + 1)
        by_pos = callable(colour)
        for y in range(y0, y1):
            py = y + 0.5
            row = y * self.w
            for x in range(x0, x1):
                k = coverage(x + 0.5, py)
                if k > 0.0:
                    c = colour(x + 0.5, py) if by_pos else colour
                    self.put(row + x, c, k * opacity)

    def rgb_rows(self):
        rows = []
        for y in range(self.h):
            row = bytearray(self.w * 3)
            i = y * self.w
            for x in range(self.w):
                row[3 * x] = int(clamp01(self.r[i + x] / 255.0) * 255.0 + 0.5)
                row[3 * x + 1] = int(clamp01(self.g[i + x] / 255.0) * 255.0 + 0.5)
                row[3 * x + 2] = int(clamp01(self.b[i + x] / 255.0) * 255.0 + 0.5)
            rows.append(bytes(row))
        return rows

    def mask_rows(self):
        rows = []
        for y in range(self.h):
            row = bytearray(self.w * 3)
            i = y * self.w
            for x in range(self.w):
                v = int(clamp01(self.a[i + x]) * 255.0 + 0.5)
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v
            rows.append(bytes(row))
        return rows


# ------------------------------------------------------------ coverages ---
# Each returns f(x, y) -> 0..1 with an edge about one pixel wide.

def edge(d):
    return clamp01(0.5 - d)


def ellipse(cx, cy, rx, ry):
    m = min(rx, ry)

    def f(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        return edge((math.sqrt(dx * dx + dy * dy) - 1.0) * m)
    return f


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def soft_ellipse(cx, cy, rx, ry, hard=0.0):
    """1 in the middle fading to 0 at the rim (hard: the share kept full)."""

    def f(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        d = math.sqrt(dx * dx + dy * dy)
        if d >= 1.0:
            return 0.0
        if d <= hard:
            return 1.0
        t = (d - hard) / (1.0 - hard)
        return 1.0 - t * t * (3.0 - 2.0 * t)
    return f


def polygon(points):
    """Convex polygon, points in either order."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1]
               for i in range(n))
    sign = 1.0 if area > 0 else -1.0
    edges = []
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        nx, ny = (by - ay) * sign, -(bx - ax) * sign
        ln = math.hypot(nx, ny) or 1.0
        edges.append((ax, ay, nx / ln, ny / ln))

    def f(x, y):
        d = max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)
        return edge(d)
    return f


def any_polygon(points):
    """Any simple polygon: inside by crossings, edge by the nearest side."""
    segs = list(zip(points, points[1:] + points[:1]))

    def f(x, y):
        inside = False
        best = 1e9
        for (ax, ay), (bx, by) in segs:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
            vx, vy = bx - ax, by - ay
            t = clamp01(((x - ax) * vx + (y - ay) * vy) / ((vx * vx + vy * vy) or 1.0))
            best = min(best, math.hypot(x - ax - vx * t, y - ay - vy * t))
        return edge(-best if inside else best)
    return f


def capsule(ax, ay, bx, by, r):
    vx, vy = bx - ax, by - ay
    ll = vx * vx + vy * vy or 1.0

    def f(x, y):
        t = clamp01(((x - ax) * vx + (y - ay) * vy) / ll)
        return edge(math.hypot(x - ax - vx * t, y - ay - vy * t) - r)
    return f


def union(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def minus(f, g):
    return lambda x, y: f(x, y) * (1.0 - g(x, y))


def inter(f, g):
    return lambda x, y: min(f(x, y), g(x, y))


def box_of(points, pad=2):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


def stroke(c, points, r, colour, opacity=1.0):
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        c.shape(box_of([(ax, ay), (bx, by)], r + 2), capsule(ax, ay, bx, by, r), colour, opacity)


# ------------------------------------------------------------- PNG file ---

def write_png(path, rows, width, height):
    raw = b"".join(b"\x00" + row for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9))
           + chunk(b"IEND", b""))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(png)
    print("wrote", os.path.relpath(path, REPO))


def save(canvas, folder, name):
    write_png(os.path.join(SOURCE, folder, name + ".png"), canvas.rgb_rows(), canvas.w, canvas.h)


def save_side_by_side(canvas, folder, name):
    """Picture in the left half, its mask in the right half."""
    rows = [a + b for a, b in zip(canvas.rgb_rows(), canvas.mask_rows())]
    write_png(os.path.join(SOURCE, folder, name + ".png"), rows, canvas.w * 2, canvas.h)


def save_over_under(canvas, folder, name):
    """Picture in the upper half, its mask in the lower half."""
    rows = canvas.rgb_rows() + canvas.mask_rows()
    write_png(os.path.join(SOURCE, folder, name + ".png"), rows, canvas.w, canvas.h * 2)


# ---------------------------------------------------------- backgrounds ---

def sky(c, stops, horizon):
    c.fill_rows(lambda y: ramp(stops, y / horizon))


def sea(c, horizon, top, bottom, rng, glint=None, glint_x=400, waves=1.0):
    c.shape((0, horizon, W, H), lambda x, y: 1.0,
            lambda x, y: mix(top, bottom, (y - horizon) / (H - horizon)))
    # Brush strokes of the swell: short light and dark dashes, denser far off.
    for _ in range(int(420 * waves)):
        y = horizon + (H - horizon) * rng.random() ** 1.6
        depth = (y - horizon) / (H - horizon)
        length = 10 + 70 * depth * rng.random()
        x = rng.uniform(-20, W)
        thick = 0.4 + 1.8 * depth
        light = rng.random() < 0.5
        colour = mix(top, (255, 255, 255), 0.25) if light else mix(bottom, (0, 0, 0), 0.35)
        c.shape((x - 2, y - 4, x + length + 2, y + 4), capsule(x, y, x + length, y, thick), colour,
                0.25 + 0.25 * depth)
    if glint:
        # A broken path of reflected light straight below the light source.
        for _ in range(160):
            y = horizon + 2 + (H - horizon) * rng.random() ** 1.3
            depth = (y - horizon) / (H - horizon)
            half = (8 + 90 * depth) * rng.random()
            x = glint_x + rng.gauss(0, 6 + 40 * depth)
            c.shape((x - half - 2, y - 4, x + half + 2, y + 4),
                    capsule(x - half, y, x + half, y, 0.6 + 1.6 * depth), glint, 0.35 + 0.4 * rng.random())


def clouds(c, rng, n, y_range, colour_of, size=1.0, opacity=0.55):
    for _ in range(n):
        cx = rng.uniform(-60, W + 60)
        cy = rng.uniform(*y_range)
        for _ in range(rng.randint(3, 6)):
            rx = rng.uniform(40, 120) * size
            ry = rx * rng.uniform(0.25, 0.45)
            px, py = cx + rng.uniform(-90, 90) * size, cy + rng.uniform(-12, 12) * size
            c.shape((px - rx, py - ry, px + rx, py + ry), soft_ellipse(px, py, rx, ry, 0.3),
                    colour_of(py), opacity)


def stars(c, rng, n, bottom):
    for _ in range(n):
        x, y = rng.uniform(0, W), bottom * rng.random() ** 1.4
        r = rng.choice((0.6, 0.7, 0.8, 1.0, 1.3))
        glow = rng.uniform(0.5, 1.0) * (1.0 - y / bottom * 0.6)
        c.shape((x - 4, y - 4, x + 4, y + 4), soft_ellipse(x, y, r * 2.2, r * 2.2, 0.35),
                (255, 250, 230), glow)


def cliff(c, points, colour, top_light=None):
    pts = points
    c.shape(box_of(pts), any_polygon(pts), colour)
    if top_light:
        stroke(c, pts[1:-1], 1.2, top_light, 0.7)


def lighthouse(c, x, base_y, height, body, band, lamp, lit=True, beam=None):
    """A tapering tower with bands, a gallery and a lantern room."""
    top_y = base_y - height
    half_bottom, half_top = height * 0.13, height * 0.08
    tower = [(x - half_bottom, base_y), (x + half_bottom, base_y),
             (x + half_top, top_y), (x - half_top, top_y)]

    def shade(px, py):
        t = (px - (x - half_bottom)) / (2 * half_bottom)
        return mix(body, mix(body, (0, 0, 0), 0.45), clamp01(t))
    c.shape(box_of(tower), polygon(tower), shade)
    for k in (0.2, 0.55):
        y0, y1 = base_y - height * k, base_y - height * (k + 0.14)

        def half_at(y):
            return half_bottom + (half_top - half_bottom) * (base_y - y) / height
        quad = [(x - half_at(y0), y0), (x + half_at(y0), y0), (x + half_at(y1), y1), (x - half_at(y1), y1)]
        c.shape(box_of(quad), polygon(quad), lambda px, py: mix(band, (0, 0, 0),
                                                                 0.45 * clamp01((px - x + half_bottom) / (2 * half_bottom))))
    gallery = [(x - half_top * 1.6, top_y), (x + half_top * 1.6, top_y),
               (x + half_top * 1.6, top_y - 5), (x - half_top * 1.6, top_y - 5)]
    c.shape(box_of(gallery), polygon(gallery), mix(body, (0, 0, 0), 0.55))
    room = [(x - half_top, top_y - 5), (x + half_top, top_y - 5),
            (x + half_top, top_y - 5 - height * 0.1), (x - half_top, top_y - 5 - height * 0.1)]
    lamp_y = top_y - 5 - height * 0.05
    c.shape(box_of(room), polygon(room), lamp if lit else mix(body, (0, 0, 0), 0.3))
    roof = [(x - half_top * 1.2, top_y - 5 - height * 0.1), (x + half_top * 1.2, top_y - 5 - height * 0.1),
            (x, top_y - 12 - height * 0.17)]
    c.shape(box_of(roof), polygon(roof), mix(band, (0, 0, 0), 0.3))
    if lit:
        g = height * 0.45
        c.shape((x - g, lamp_y - g, x + g, lamp_y + g), soft_ellipse(x, lamp_y, g, g), lamp, 0.45)
    if beam:
        direction, spread, reach = beam
        ang0 = direction - spread
        ang1 = direction + spread

        def cone(px, py):
            dx, dy = px - x, py - lamp_y
            d = math.hypot(dx, dy)
            if d < 4 or d > reach:
                return 0.0
            a = math.atan2(dy, dx)
            mid = (ang0 + ang1) / 2
            off = abs(a - mid) / ((ang1 - ang0) / 2)
            if off >= 1.0:
                return 0.0
            return (1.0 - off * off) * (1.0 - d / reach) ** 0.7
        bx = [x + reach * math.cos(a) for a in (ang0, ang1)] + [x]
        by = [lamp_y + reach * math.sin(a) for a in (ang0, ang1)] + [lamp_y]
        c.shape((min(bx), min(by), max(bx), max(by)), cone, lamp, 0.55)
    return lamp_y


def draw_dusk():
    rng = random.Random(11)
    c = Canvas(W, H)
    horizon = 350
    sky(c, [(0.0, (52, 40, 96)), (0.45, (170, 80, 110)), (0.8, (246, 150, 84)), (1.0, (255, 206, 120))],
        horizon)
    clouds(c, rng, 9, (60, 300),
           lambda y: ramp([(0.0, (120, 70, 120)), (0.6, (250, 140, 110)), (1.0, (255, 200, 150))], y / horizon),
           opacity=0.5)
    sun = soft_ellipse(300, horizon, 60, 60, 0.75)
    c.shape((230, horizon - 70, 370, horizon), sun, (255, 236, 170))
    c.shape((150, horizon - 150, 450, horizon), soft_ellipse(300, horizon, 150, 150), (255, 220, 150), 0.35)
    sea(c, horizon, (150, 90, 120), (30, 30, 70), rng, glint=(255, 210, 140), glint_x=300)
    cliff(c, [(520, H), (540, 420), (600, 372), (680, 352), (760, 350), (820, 356), (820, H)], (40, 28, 46),
          top_light=(200, 120, 110))
    lighthouse(c, 690, 356, 250, (238, 228, 220), (190, 60, 60), (255, 240, 180))
    return c


def draw_night():
    rng = random.Random(23)
    c = Canvas(W, H)
    horizon = 380
    sky(c, [(0.0, (6, 8, 30)), (0.6, (16, 28, 70)), (1.0, (40, 62, 110))], horizon)
    stars(c, rng, 260, horizon - 10)
    # A milky band across the sky.
    for _ in range(40):
        t = rng.random()
        px, py = -50 + 900 * t, 40 + 180 * t + rng.gauss(0, 18)
        c.shape((px - 70, py - 30, px + 70, py + 30), soft_ellipse(px, py, 70, 26), (120, 130, 170), 0.06)
    moon = minus(circle(170, 110, 34), circle(186, 100, 30))
    c.shape((120, 60, 220, 160), moon, (250, 244, 210))
    c.shape((90, 30, 250, 190), soft_ellipse(170, 110, 80, 80), (180, 190, 230), 0.18)
    sea(c, horizon, (24, 40, 80), (4, 8, 24), rng, glint=(220, 220, 190), glint_x=170)
    cliff(c, [(560, H), (600, 440), (650, 400), (720, 388), (820, 392), (820, H)], (6, 8, 18),
          top_light=(60, 70, 110))
    lighthouse(c, 700, 392, 230, (70, 74, 96), (90, 40, 50), (255, 236, 160), beam=(math.pi + 0.35, 0.1, 700))
    return c


def draw_storm():
    rng = random.Random(37)
    c = Canvas(W, H)
    horizon = 330
    sky(c, [(0.0, (28, 32, 38)), (0.7, (62, 70, 78)), (1.0, (96, 104, 108))], horizon)
    clouds(c, rng, 16, (10, 280), lambda y: ramp([(0.0, (20, 22, 28)), (1.0, (90, 96, 104))], y / horizon),
           size=1.4, opacity=0.6)
    bolt = [(470, 0), (455, 70), (480, 92), (440, 180), (462, 196), (420, 300)]
    stroke(c, bolt, 6.0, (180, 190, 255), 0.25)
    stroke(c, bolt, 1.8, (250, 250, 255))
    c.shape((0, horizon, W, H), lambda x, y: 1.0,
            lambda x, y: mix((60, 74, 76), (14, 24, 28), (y - horizon) / (H - horizon)))
    # Heavy swell: rows of crests, larger towards the viewer.
    for row in range(14):
        y0 = horizon + 8 + (H - horizon) * (row / 14.0) ** 1.3
        amp = 3 + row * 2.2
        wave_len = 60 + row * 22
        phase = rng.uniform(0, 6.28)
        phase2 = rng.uniform(0, 6.28)

        def crest(x):
            return y0 - amp * (0.7 * abs(math.sin(x / wave_len + phase)) + 0.3 * math.sin(x / 23.0 + phase2))
        # Each crest is broken into a few curling pieces, dark in their troughs.
        x = rng.uniform(-80, 0)
        while x < W:
            span = rng.uniform(60, 200)
            pts = [(px, crest(px)) for px in range(int(x), int(x + span), 6)]
            if len(pts) > 1:
                stroke(c, [(px, py + 3 + row * 0.4) for px, py in pts], 1.5 + row * 0.4, (10, 18, 22), 0.3)
                stroke(c, pts, 0.7 + row * 0.2, (170, 190, 190), 0.3)
            x += span + rng.uniform(20, 120)
        for _ in range(3 + row):
            fx = rng.uniform(0, W)
            fy = crest(fx)
            c.shape((fx - 30, fy - 8, fx + 30, fy + 8), soft_ellipse(fx, fy, 22 + row, 4 + row * 0.3),
                    (230, 236, 236), 0.5)
    cliff(c, [(0, H), (0, 360), (60, 340), (130, 352), (190, 400), (230, H)], (16, 18, 22),
          top_light=(110, 120, 130))
    lighthouse(c, 80, 346, 200, (130, 130, 136), (110, 50, 50), (255, 236, 170), beam=(-0.2, 0.09, 760))
    for _ in range(700):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        ln = rng.uniform(10, 30)
        c.shape((x - 10, y - 2, x + 4, y + ln + 2), capsule(x, y, x - ln * 0.3, y + ln, 0.5),
                (200, 210, 220), 0.3)
    return c


def draw_morning():
    rng = random.Random(41)
    c = Canvas(W, H)
    horizon = 360
    sky(c, [(0.0, (110, 170, 230)), (0.6, (190, 214, 236)), (0.9, (250, 228, 200)), (1.0, (255, 240, 214))],
        horizon)
    c.shape((420, 160, 780, horizon + 40), soft_ellipse(600, horizon, 180, 180), (255, 244, 210), 0.5)
    c.shape((560, horizon - 44, 640, horizon), soft_ellipse(600, horizon, 40, 40, 0.8), (255, 250, 230))
    clouds(c, rng, 7, (50, 250), lambda y: (255, 255, 255), size=0.9, opacity=0.45)
    sea(c, horizon, (140, 190, 210), (40, 100, 150), rng, glint=(255, 250, 220), glint_x=600, waves=0.8)
    cliff(c, [(-20, H), (-20, 380), (60, 372), (170, 378), (260, 420), (300, H)], (70, 90, 70),
          top_light=(150, 190, 120))
    # Grass tufts along the cliff top.
    for _ in range(60):
        x = rng.uniform(0, 250)
        y = 376 + (x - 120) ** 2 / 900 + rng.uniform(-2, 2)
        stroke(c, [(x, y), (x + rng.uniform(-4, 4), y - rng.uniform(6, 16))], 0.9, (120, 170, 90), 0.8)
    lighthouse(c, 110, 378, 260, (250, 250, 246), (200, 60, 60), (255, 255, 230), lit=False)
    for _ in range(5):
        gx, gy, s = rng.uniform(300, 520), rng.uniform(120, 260), rng.uniform(6, 11)
        stroke(c, [(gx - s, gy - s * 0.3), (gx - s * 0.4, gy - s * 0.5), (gx, gy)], 1.1, (60, 70, 90))
        stroke(c, [(gx, gy), (gx + s * 0.4, gy - s * 0.5), (gx + s, gy - s * 0.3)], 1.1, (60, 70, 90))
    return c


# -------------------------------------------------------------- sprites ---
# 200 x 600 figures seen from the knees up; the message window hides the
# lower part. Saved side by side (picture | mask) for the one-file layout.

SW, SH = 200, 600


def body_coat(c, colour, shoulder_y, width_top, width_bottom, lapel=None):
    cx = SW / 2
    coat = [(cx - width_top, shoulder_y), (cx + width_top, shoulder_y),
            (cx + width_bottom, SH), (cx - width_bottom, SH)]

    def shade(x, y):
        return mix(colour, mix(colour, (0, 0, 0), 0.35), clamp01((x - cx + width_top) / (2 * width_top)) ** 1.5)
    c.shape(box_of(coat), polygon(coat), shade)
    shoulders = ellipse(cx, shoulder_y + 14, width_top + 14, 26)
    c.shape((cx - width_top - 16, shoulder_y - 14, cx + width_top + 16, shoulder_y + 42), shoulders, shade)
    if lapel:
        v = [(cx - 16, shoulder_y), (cx + 16, shoulder_y), (cx, shoulder_y + 60)]
        c.shape(box_of(v), polygon(v), lapel)


def head(c, cx, cy, skin, hair, fringe, eyes, mouth, brows=None, blush=False, eye_colour=(50, 60, 90)):
    c.shape((cx - 14, cy + 30, cx + 14, cy + 80), polygon([(cx - 12, cy + 30), (cx + 12, cy + 30),
                                                           (cx + 13, cy + 78), (cx - 13, cy + 78)]),
            mix(skin, (0, 0, 0), 0.15))
    hair(c, cx, cy, behind=True)
    face = union(ellipse(cx, cy, 40, 46), polygon([(cx - 36, cy + 10), (cx + 36, cy + 10), (cx, cy + 54)]))
    c.shape((cx - 44, cy - 50, cx + 44, cy + 58), face, skin)
    if blush:
        for sx in (-22, 22):
            c.shape((cx + sx - 12, cy + 6, cx + sx + 12, cy + 22), soft_ellipse(cx + sx, cy + 14, 11, 6),
                    (240, 140, 140), 0.5)
    for sx in (-16, 16):
        ex, ey = cx + sx, cy + 2
        if eyes == "open":
            c.shape((ex - 8, ey - 10, ex + 8, ey + 10), ellipse(ex, ey, 6.5, 8.5), (255, 255, 255))
            c.shape((ex - 8, ey - 10, ex + 8, ey + 10), ellipse(ex, ey + 1, 5, 7), eye_colour)
            c.shape((ex - 4, ey - 6, ex + 2, ey), circle(ex - 1.5, ey - 3, 1.8), (255, 255, 255))
        elif eyes == "wide":
            c.shape((ex - 9, ey - 12, ex + 9, ey + 12), ellipse(ex, ey, 7.5, 10), (255, 255, 255))
            c.shape((ex - 5, ey - 5, ex + 5, ey + 5), circle(ex, ey, 3.2), eye_colour)
        elif eyes == "smile":
            stroke(c, [(ex - 7, ey + 2), (ex - 3, ey - 3), (ex + 3, ey - 3), (ex + 7, ey + 2)], 1.4,
                   (60, 40, 40))
        elif eyes == "narrow":
            stroke(c, [(ex - 7, ey), (ex + 7, ey)], 1.6, (60, 40, 40))
    if brows:
        for sx, tilt in ((-16, brows), (16, -brows)):
            bx, by = cx + sx, cy - 14
            stroke(c, [(bx - 8, by + tilt), (bx + 8, by - tilt)], 1.4, mix(fringe, (0, 0, 0), 0.3))
    my = cy + 30
    if mouth == "smile":
        stroke(c, [(cx - 8, my - 2), (cx - 3, my + 2), (cx + 3, my + 2), (cx + 8, my - 2)], 1.3, (150, 60, 60))
    elif mouth == "open":
        c.shape((cx - 8, my - 6, cx + 8, my + 8), inter(ellipse(cx, my - 1, 7, 7), polygon(
            [(cx - 8, my - 1), (cx + 8, my - 1), (cx + 8, my + 8), (cx - 8, my + 8)])), (170, 70, 70))
    elif mouth == "o":
        c.shape((cx - 6, my - 6, cx + 6, my + 6), ellipse(cx, my, 4, 5), (150, 60, 60))
    else:
        stroke(c, [(cx - 5, my), (cx + 5, my)], 1.2, (150, 70, 70))
    hair(c, cx, cy, behind=False)


def nagi_hair(colour):
    def hair(c, cx, cy, behind):
        if behind:
            c.shape((cx - 56, cy - 56, cx + 56, cy + 90), union(
                ellipse(cx, cy - 6, 52, 54), polygon([(cx - 52, cy), (cx + 52, cy), (cx + 44, cy + 84),
                                                      (cx - 44, cy + 84)])), colour)
            return
        fringe = minus(ellipse(cx, cy - 14, 46, 40), union(ellipse(cx - 14, cy + 16, 30, 30),
                                                           ellipse(cx + 18, cy + 16, 26, 28)))
        c.shape((cx - 50, cy - 60, cx + 50, cy + 30), fringe, colour)
        # The postal cap with its badge.
        cap = inter(ellipse(cx, cy - 30, 50, 30), polygon([(cx - 60, cy - 70), (cx + 60, cy - 70),
                                                           (cx + 60, cy - 26), (cx - 60, cy - 26)]))
        c.shape((cx - 52, cy - 64, cx + 52, cy - 24), cap, (40, 80, 60))
        brim = polygon([(cx - 52, cy - 30), (cx + 52, cy - 30), (cx + 40, cy - 22), (cx - 40, cy - 22)])
        c.shape((cx - 54, cy - 34, cx + 54, cy - 18), brim, (24, 50, 40))
        c.shape((cx - 8, cy - 52, cx + 8, cy - 36), circle(cx, cy - 44, 6), (230, 190, 80))
    return hair


def keeper_hair(c, cx, cy, behind):
    if behind:
        return
    c.shape((cx - 46, cy - 60, cx + 46, cy - 20), inter(ellipse(cx, cy - 24, 44, 36), polygon(
        [(cx - 50, cy - 70), (cx + 50, cy - 70), (cx + 50, cy - 22), (cx - 50, cy - 22)])), (30, 36, 60))
    c.shape((cx - 50, cy - 30, cx + 50, cy - 18), polygon([(cx - 48, cy - 26), (cx + 48, cy - 26),
                                                           (cx + 52, cy - 20), (cx - 52, cy - 20)]), (20, 24, 40))
    # Grey sideburns and a beard.
    for sx in (-38, 38):
        c.shape((cx + sx - 8, cy - 24, cx + sx + 8, cy + 14), ellipse(cx + sx, cy - 6, 6, 18), (180, 180, 176))
    beard = minus(union(ellipse(cx, cy + 30, 38, 28), ellipse(cx, cy + 44, 26, 20)), ellipse(cx, cy + 28, 12, 6))
    c.shape((cx - 40, cy + 4, cx + 40, cy + 66), beard, (196, 196, 190))


def kai_hair(colour):
    def hair(c, cx, cy, behind):
        if behind:
            return
        spikes = [polygon([(cx + dx - 16, cy - 26), (cx + dx + 16, cy - 26), (cx + dx + tx, cy - 64 + ty)])
                  for dx, tx, ty in ((-34, -10, 14), (-16, -4, 0), (2, 4, -6), (20, 10, 2), (36, 14, 16))]
        top = union(ellipse(cx, cy - 18, 44, 32), *spikes)
        c.shape((cx - 56, cy - 74, cx + 60, cy + 10), minus(top, ellipse(cx, cy + 14, 38, 30)), colour)
    return hair


def sprite_nagi(pose):
    c = Canvas(SW, SH, alpha=True)
    skin, hair_colour = (250, 226, 210), (70, 50, 60)
    body_coat(c, (60, 110, 90), 232, 46, 72, lapel=(240, 240, 236))
    # The mail bag on its strap.
    stroke(c, [(62, 236), (140, 380)], 4.5, (120, 80, 50))
    c.shape((110, 360, 180, 440), polygon([(112, 362), (178, 362), (176, 436), (114, 436)]), (150, 100, 60))
    c.shape((110, 358, 180, 392), polygon([(112, 362), (178, 362), (170, 390), (120, 390)]), (120, 80, 50))
    face = {1: ("open", "smile", 0, False), 2: ("smile", "open", 0, True), 3: ("open", "o", -3, False)}[pose]
    head(c, SW / 2, 150, skin, nagi_hair(hair_colour), hair_colour, face[0], face[1], brows=face[2],
         blush=face[3], eye_colour=(60, 90, 70))
    if pose == 2:
        stroke(c, [(150, 270), (170, 220), (160, 180)], 9, (60, 110, 90))
        c.shape((148, 160, 176, 188), circle(161, 174, 11), skin)
    if pose == 3:
        stroke(c, [(60, 270), (84, 320), (100, 300)], 9, (50, 96, 78))
        c.shape((88, 286, 116, 314), circle(102, 300, 11), skin)
    return c


def sprite_keeper(pose):
    c = Canvas(SW, SH, alpha=True)
    skin = (226, 190, 160)
    body_coat(c, (36, 44, 78), 236, 58, 84, lapel=(200, 200, 210))
    for y in range(280, 600, 50):
        c.shape((94, y - 5, 106, y + 5), circle(100, y, 4), (220, 190, 90))
    eyes, mouth = ("narrow", "line") if pose == 1 else ("smile", "open")
    head(c, SW / 2, 150, skin, keeper_hair, (180, 180, 176), eyes, mouth, brows=2 if pose == 1 else -1)
    if pose == 2:
        # An oil lamp raised in his right hand.
        stroke(c, [(40, 280), (28, 220), (44, 190)], 10, (36, 44, 78))
        c.shape((24, 150, 68, 200), polygon([(30, 156), (62, 156), (58, 196), (34, 196)]), (250, 220, 140))
        c.shape((0, 110, 96, 240), soft_ellipse(46, 176, 46, 56), (255, 230, 150), 0.5)
        stroke(c, [(30, 156), (46, 140), (62, 156)], 2, (60, 60, 60))
    return c


def sprite_kai(pose):
    c = Canvas(SW, SH, alpha=True)
    skin = (238, 200, 170)
    body_coat(c, (220, 220, 226), 246, 42, 64)
    shirt = polygon([(58, 246), (142, 246), (164, 600), (36, 600)])
    for y in range(270, 600, 24):
        c.shape((30, y, 170, y + 10), inter(polygon([(30, y), (170, y), (170, y + 10), (30, y + 10)]), shirt),
                (60, 90, 160))
    eyes, mouth, brows = ("open", "smile", 0) if pose == 1 else ("wide", "o", 4)
    head(c, SW / 2, 170, skin, kai_hair((40, 34, 30)), (40, 34, 30), eyes, mouth, brows=brows,
         eye_colour=(70, 50, 40))
    return c


def sprite_cat():
    c = Canvas(SW, SH, alpha=True)
    fur, dark = (240, 236, 228), (70, 60, 56)
    base = 430
    tail = [(150, base - 10), (176, base - 40), (170, base - 90), (156, base - 110)]
    stroke(c, tail, 7, dark)
    c.shape((50, base - 110, 160, base), ellipse(104, base - 50, 52, 56), fur)
    c.shape((60, base - 90, 110, base - 20), soft_ellipse(82, base - 56, 26, 30), dark, 0.8)
    c.shape((62, base - 190, 146, base - 100), ellipse(104, base - 144, 40, 36), fur)
    for sx in (-1, 1):
        ear = [(104 + sx * 14, base - 172), (104 + sx * 38, base - 168), (104 + sx * 34, base - 200)]
        c.shape(box_of(ear), polygon(ear), dark if sx < 0 else fur)
        stroke(c, [(104 + sx * 8, base - 144), (104 + sx * 20, base - 140)], 1.6, (60, 50, 40))
        stroke(c, [(104 + sx * 22, base - 128), (104 + sx * 50, base - 132)], 0.6, (120, 110, 100))
        stroke(c, [(104 + sx * 22, base - 124), (104 + sx * 48, base - 120)], 0.6, (120, 110, 100))
    c.shape((100, base - 132, 108, base - 124), ellipse(104, base - 128, 4, 3), (220, 120, 130))
    return c


def part_letter():
    """An offset part for a composite sprite (_sprset): the letter Nagi
    holds up. Offset parts come as two files, e_letter and its mask m_letter."""
    c = Canvas(56, 44, alpha=True)
    body = polygon([(6, 12), (48, 4), (52, 34), (10, 42)])
    c.shape((2, 2, 54, 44), body, (250, 244, 226))
    for a, b in (((6, 12), (30, 26)), ((30, 26), (48, 4))):
        stroke(c, [a, b], 1.0, (150, 120, 90))
    c.shape((24, 20, 36, 32), circle(30, 26, 4.5), (200, 40, 40))
    star = [(40 + (5 if k % 2 == 0 else 2) * math.sin(k * math.pi / 5),
             30 - (5 if k % 2 == 0 else 2) * math.cos(k * math.pi / 5)) for k in range(10)]
    c.shape(box_of(star), any_polygon(star), (240, 190, 60))
    return c


# ----------------------------------------------------- overlay and rules ---

def overlay_rain():
    """Rain streaks and a wet glaze over the whole screen."""
    rng = random.Random(53)
    c = Canvas(W, H, alpha=True)
    for _ in range(900):
        x, y = rng.uniform(-40, W + 40), rng.uniform(-40, H)
        ln = rng.uniform(16, 46)
        c.shape((x - ln * 0.3 - 3, y - 3, x + 3, y + ln + 3), capsule(x, y, x - ln * 0.25, y + ln, 0.7),
                (210, 225, 240), rng.uniform(0.45, 0.9))
    for _ in range(40):
        x, y, r = rng.uniform(0, W), rng.uniform(0, H), rng.uniform(3, 7)
        c.shape((x - r - 2, y - r - 2, x + r + 2, y + r + 2), soft_ellipse(x, y, r, r * 1.2, 0.5),
                (230, 240, 250), 0.7)
    return c


def rule_beam():
    """The lighthouse beam sweeping once round its lamp, clockwise."""
    lamp_x, lamp_y = 420, 250
    rows = []
    for y in range(H):
        row = bytearray(W * 3)
        for x in range(W):
            a = math.atan2(y - lamp_y, x - lamp_x)  # -pi .. pi
            t = ((a + math.pi) / (2 * math.pi) + 0.5) % 1.0
            d = math.hypot(x - lamp_x, y - lamp_y) / 1000.0
            v = int(clamp01(1.0 - t * 0.92 - d * 0.08) * 255)
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v
        rows.append(bytes(row))
    return rows


def rule_drops():
    """Raindrops: soft discs whose centres turn first, over a top-down slope."""
    rng = random.Random(67)
    c = Canvas(W, H)
    c.fill_rows(lambda y: (160 * (1 - y / H),) * 3)
    for _ in range(120):
        x, y, r = rng.uniform(0, W), rng.uniform(0, H), rng.uniform(20, 70)
        c.shape((x - r, y - r, x + r, y + r), soft_ellipse(x, y, r, r), (255, 255, 255), rng.uniform(0.4, 0.9))
    return c


def hard(f):
    """Coverage without soft edges, for pictures keyed on a colour."""
    return lambda x, y: 1.0 if f(x, y) >= 0.5 else 0.0


def parts_sheet():
    """p_parts: three 64 x 64 parts on cyan, the colour ptset leaves out:
    a letter, a star and a shell."""
    c = Canvas(192, 64)
    c.fill_rows(lambda y: (0, 255, 255))
    env = polygon([(6, 14), (58, 14), (58, 52), (6, 52)])
    c.shape((4, 12, 60, 54), hard(env), (250, 244, 226))
    for a, b in (((6, 14), (32, 36)), ((32, 36), (58, 14))):
        c.shape(box_of([a, b]), hard(capsule(a[0], a[1], b[0], b[1], 1.2)), (150, 120, 90))
    c.shape((26, 30, 38, 42), hard(circle(32, 36, 5)), (200, 40, 40))
    star = [(96 + (26 if k % 2 == 0 else 11) * math.sin(k * math.pi / 5),
             34 - (26 if k % 2 == 0 else 11) * math.cos(k * math.pi / 5)) for k in range(10)]
    c.shape(box_of(star), hard(any_polygon(star)), (255, 220, 90))
    shell = minus(ellipse(160, 38, 24, 20), polygon([(120, 40), (200, 40), (200, 70), (120, 70)]))
    c.shape((134, 14, 186, 42), hard(union(shell, polygon([(150, 38), (170, 38), (166, 50), (154, 50)]))),
            (240, 190, 180))
    for k in range(-2, 3):
        c.shape((136, 14, 184, 42), hard(inter(shell, capsule(160, 40, 160 + k * 10, 22, 0.9))), (200, 130, 120))
    return c


def postcard():
    """p_card: a postcard from the town, drawn straight onto the screen."""
    c = Canvas(240, 150)
    c.fill_rows(lambda y: mix((120, 180, 230), (250, 236, 210), y / 150))
    c.shape((0, 96, 240, 150), lambda x, y: 1.0, (60, 120, 170))
    c.shape((150, 40, 230, 120), hard(circle(190, 96, 16)), (255, 240, 200))
    tower = polygon([(50, 100), (70, 100), (66, 40), (54, 40)])
    c.shape((46, 36, 74, 104), tower, (250, 250, 250))
    c.shape((46, 56, 74, 80), inter(tower, polygon([(40, 60), (80, 60), (80, 72), (40, 72)])), (200, 60, 60))
    c.shape((48, 30, 72, 42), polygon([(52, 40), (68, 40), (60, 30)]), (200, 60, 60))
    frame = minus(polygon([(0, 0), (240, 0), (240, 150), (0, 150)]), polygon([(8, 8), (232, 8), (232, 142), (8, 142)]))
    c.shape((0, 0, 240, 150), frame, (250, 248, 240))
    return c


# -------------------------------------------------------- system pictures ---

def rounded_rect(x0, y0, x1, y1, r):
    def f(x, y):
        qx = max(x0 + r - x, 0, x - (x1 - r))
        qy = max(y0 + r - y, 0, y - (y1 - r))
        return edge(math.hypot(qx, qy) - r)
    return f


def message_window():
    """sys_tw: the panel (upper half) over its mask (lower half)."""
    c = Canvas(TXW_SIZE_X, TXW_SIZE_Y, alpha=True)
    w, h = TXW_SIZE_X, TXW_SIZE_Y
    panel = rounded_rect(2, 2, w - 2, h - 2, 18)
    c.shape((0, 0, w, h), panel, lambda x, y: mix((16, 36, 78), (0, 10, 34), y / h), 0.72)
    # A lighter plate behind the speaker's name, and a thin double rim.
    px, py = NP_OFS_X - TXW_OFS_X, NP_OFS_Y - TXW_OFS_Y
    plate = rounded_rect(px, py + 4, px + NP_SZ_X - 8, py + NP_SZ_Y - 4, 10)
    c.shape((px - 2, py, px + NP_SZ_X, py + NP_SZ_Y), plate, (40, 80, 140), 0.6)
    rim = minus(rounded_rect(2, 2, w - 2, h - 2, 18), rounded_rect(4.5, 4.5, w - 4.5, h - 4.5, 16))
    c.shape((0, 0, w, h), rim, (170, 200, 240), 0.95)
    inner = minus(rounded_rect(8, 8, w - 8, h - 8, 13), rounded_rect(9.2, 9.2, w - 9.2, h - 9.2, 12))
    c.shape((0, 0, w, h), inner, (120, 150, 210), 0.5)
    stroke(c, [(px + 12, py + NP_SZ_Y - 2), (px + NP_SZ_X + 60, py + NP_SZ_Y - 2)], 0.7, (150, 180, 230), 0.7)
    return c


def click_wait_icon():
    """sys_clickw: CLICK_PAT frames of a small lamp whose beam turns round."""
    c = Canvas(CLICK_SIZE * CLICK_PAT, CLICK_SIZE, alpha=True)
    for f in range(CLICK_PAT):
        ox = f * CLICK_SIZE
        cx, cy = ox + 12, 12
        ang = f * 2 * math.pi / CLICK_PAT
        for spread, reach, alpha in ((0.5, 11.5, 0.55), (0.25, 11.5, 0.9)):
            pts = [(cx, cy), (cx + reach * math.cos(ang - spread), cy + reach * math.sin(ang - spread)),
                   (cx + reach * math.cos(ang + spread), cy + reach * math.sin(ang + spread))]
            c.shape(box_of(pts), inter(polygon(pts), lambda x, y, ox=ox: 1.0 if ox <= x < ox + 24 else 0.0),
                    (255, 236, 150), alpha)
        c.shape((cx - 6, cy - 6, cx + 6, cy + 6), circle(cx, cy, 4.2), (255, 250, 220))
        c.shape((cx - 6, cy - 6, cx + 6, cy + 6), minus(circle(cx, cy, 5.2), circle(cx, cy, 4.0)),
                (200, 150, 60))
    return c


def gaiji():
    """sys_gaiji: a made-up character, "the light kept through the night":
    a roof over a lamp whose rays fall on a wave. Coverage in every byte."""
    c = Canvas(24, 24)
    ink = (255, 255, 255)
    stroke(c, [(3.5, 6.5), (12, 2), (20.5, 6.5)], 1.4, ink)         # roof
    stroke(c, [(7, 8), (17, 8)], 1.2, ink)                          # lamp room
    stroke(c, [(7, 8), (7, 14.5)], 1.2, ink)
    stroke(c, [(17, 8), (17, 14.5)], 1.2, ink)
    stroke(c, [(7, 14.5), (17, 14.5)], 1.2, ink)
    c.shape((9, 9, 15, 14), ellipse(12, 11.3, 1.4, 1.8), ink)       # the flame
    stroke(c, [(4.5, 10.5), (2, 12.5)], 1.0, ink)                   # rays
    stroke(c, [(19.5, 10.5), (22, 12.5)], 1.0, ink)
    stroke(c, [(12, 14.5), (12, 17.5)], 1.2, ink)                   # the stem
    stroke(c, [(2.5, 20), (5.5, 18), (8.7, 20), (12, 18), (15.3, 20), (18.5, 18), (21.5, 20)], 1.2, ink)
    return c


# ------------------------------------------------------------------ main ---

def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vsktool", default=os.path.join(REPO, "build", "vsktool"),
                        help="vsktool executable that turns the storm PNG into a JPEG")
    args = parser.parse_args()

    save(draw_dusk(), "vk_gra", "a_dusk")
    save(draw_night(), "vk_gra", "a_night")
    save(draw_morning(), "vk_gra", "a_morning")
    storm = draw_storm()
    with tempfile.TemporaryDirectory() as tmp:
        png = os.path.join(tmp, "a_storm.png")
        write_png(png, storm.rgb_rows(), W, H)
        jpg = os.path.join(SOURCE, "vk_gjp", "a_storm.jpg")
        os.makedirs(os.path.dirname(jpg), exist_ok=True)
        if not os.access(args.vsktool, os.X_OK):
            sys.exit(f"{args.vsktool} not found: build vsktool first or pass --vsktool")
        subprocess.run([args.vsktool, "pic", "jpeg", png, jpg], check=True)
        print("wrote", os.path.relpath(jpg, REPO))

    for pose in (1, 2, 3):
        save_side_by_side(sprite_nagi(pose), "vk_gra", f"b_nagi{pose}")
    for pose in (1, 2):
        save_side_by_side(sprite_keeper(pose), "vk_gra", f"b_mori{pose}")
        save_side_by_side(sprite_kai(pose), "vk_gra", f"b_kai{pose}")
    save_side_by_side(sprite_cat(), "vk_gra", "b_neko")
    letter = part_letter()
    write_png(os.path.join(SOURCE, "vk_gra", "e_letter.png"), letter.rgb_rows(), letter.w, letter.h)
    write_png(os.path.join(SOURCE, "vk_gra", "m_letter.png"), letter.mask_rows(), letter.w, letter.h)
    save_side_by_side(overlay_rain(), "vk_gra", "o_rain")
    write_png(os.path.join(SOURCE, "vk_gra", "w_beam.png"), rule_beam(), W, H)
    save(rule_drops(), "vk_gra", "w_drops")
    save(parts_sheet(), "vk_gra", "p_parts")
    save(postcard(), "vk_gra", "p_card")

    window = message_window()
    save_over_under(window, "vk_gra", "sys_tw")
    save(Canvas(TXW_SIZE_X, TXW_SIZE_Y), "vk_gra", "sys_tw1")
    save_over_under(click_wait_icon(), "vk_gra", "sys_clickw")
    save(gaiji(), "vk_gra", "sys_gaiji")


if __name__ == "__main__":
    main()
