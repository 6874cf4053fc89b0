#!/usr/bin/python3
"""Draws the program icon (an analogue clock face, in the sizes Windows asks for, 32-bit with
alpha) into resources/orvane.ico.

Usage: tools/make_icon.py [OUTPUT]   (default: resources/orvane.ico under the repository root)

The picture is computed from plain geometry and supersampled, so the output is byte-identical
on every run and needs no image library (the 256-pixel image is PNG, made with zlib).
"""
import math
import os
import struct
import sys
import zlib

SIZE = 32                   # icon width and height in pixels
SUB = 8                     # supersamples per pixel along each axis
CENTRE = SIZE / 2           # the dial is centred on the pixel grid, between pixels 15 and 16
RADIUS = SIZE / 2           # the dial fills the whole image
RIM = 2.5                   # thickness of the black rim

BLACK, RED, WHITE = 0, 9, 15


def polar(angle_deg, r):
    """Point at distance r from the centre, angle measured clockwise from 12 o'clock."""
    a = math.radians(angle_deg)
    return CENTRE + r * math.sin(a), CENTRE - r * math.cos(a)


def on_stroke(px, py, stroke):
    """True if (px, py) lies on a stroke: a bar of the given half-width along segment a-b.
    Hands get rounded ends; marks are cut square so their inner ends stay crisp."""
    (ax, ay), (bx, by), half, rounded = stroke
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    if not rounded and not 0.0 <= t <= 1.0:
        return False
    t = min(1.0, max(0.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy)) < half


# Everything drawn in black. The 12/3/6/9 marks are longer and wider so the dial still reads
# at a glance; the marks run under the rim so they join it cleanly. The hands show ten past ten.
BLACK_STROKES = []
for hour in range(12):
    bold = hour % 3 == 0
    inner = RADIUS - RIM - (4.5 if bold else 3.0)
    BLACK_STROKES.append((polar(hour * 30, inner), polar(hour * 30, RADIUS), 1.0 if bold else 0.6, False))
BLACK_STROKES.append((polar(305 + 180, 1.5), polar(305, 7.0), 1.25, True))    # hour hand
BLACK_STROKES.append((polar(60 + 180, 1.5), polar(60, 10.5), 0.95, True))     # minute hand
SECOND_HAND = (polar(222, 0.0), polar(222, 12.0), 0.5, True)                  # red, at 37 s
DOT_RADIUS = 1.8


def sample(x, y):
    """Colour at one supersample point, or None outside the dial."""
    r = math.hypot(x - CENTRE, y - CENTRE)
    if r > RADIUS:
        return None
    if r > RADIUS - RIM or r < DOT_RADIUS:
        return BLACK
    if on_stroke(x, y, SECOND_HAND):
        return RED                          # the second hand lies on top of the others
    if any(on_stroke(x, y, stroke) for stroke in BLACK_STROKES):
        return BLACK
    return WHITE


COLOURS = {BLACK: (0, 0, 0), RED: (0xFF, 0, 0), WHITE: (0xFF, 0xFF, 0xFF)}
SIZES = (16, 20, 24, 32, 40, 48, 64, 256)  # the sizes Windows asks for, 100 % to 200 % and more


def rgba(col, row, size):
    """Blue, green, red, alpha of one pixel of the `size` image: the dial is drawn in the
    32-pixel geometry above, scaled, and each pixel averages its samples (alpha: coverage)."""
    scale = SIZE / size
    sub = max(2, SUB * 32 // size)
    total, covered, acc = sub * sub, 0, [0, 0, 0]
    for sy in range(sub):
        for sx in range(sub):
            colour = sample((col + (sx + 0.5) / sub) * scale, (row + (sy + 0.5) / sub) * scale)
            if colour is None:
                continue
            covered += 1
            for i, v in enumerate(COLOURS[colour]):
                acc[i] += v
    if covered == 0:
        return bytes(4)
    r, g, b = (round(v / covered) for v in acc)
    return bytes((b, g, r, round(255 * covered / total)))


def dib(size):
    """A 32-bit image with alpha, rows bottom-up, and its (all-zero) AND mask."""
    rows = [b"".join(rgba(c, r, size) for c in range(size)) for r in range(size)]
    mask_row = bytes(((size + 31) // 32) * 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(reversed(rows)) + mask_row * size, rows


def png(size, rows):
    """The same image as a PNG, as Windows takes the 256-pixel image (RGBA, top-down)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(p for i in range(0, len(row), 4) for p in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                   for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def build_ico():
    """Returns the bytes of the .ico: every size of SIZES, 32-bit with alpha."""
    bodies = []
    for size in SIZES:
        body, rows = dib(size)
        bodies.append(png(size, rows) if size >= 256 else body)
    offset = 6 + 16 * len(SIZES)
    out = struct.pack("<HHH", 0, 1, len(SIZES))
    for size, body in zip(SIZES, bodies):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    return out + b"".join(bodies)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "orvane.ico")
    data = build_ico()
    with open(out, "wb") as f:
        f.write(data)
    print(f"{out}: {len(data)} bytes")


if __name__ == "__main__":
    main()
