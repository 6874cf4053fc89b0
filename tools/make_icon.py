#!/usr/bin/python3
"""Draws the program icon (a 32x32, 16-colour analogue clock face) into resources/orvane.ico.

Usage: tools/make_icon.py [OUTPUT]   (default: resources/orvane.ico under the repository root)

The picture is computed from plain geometry, supersampled and then snapped to the standard
16-colour palette, so the output is byte-identical on every run and needs no image library.
"""
import math
import os
import struct
import sys

SIZE = 32                   # icon width and height in pixels
SUB = 8                     # supersamples per pixel along each axis
CENTRE = SIZE / 2           # the dial is centred on the pixel grid, between pixels 15 and 16
RADIUS = SIZE / 2           # the dial fills the whole image
RIM = 2.5                   # thickness of the black rim

# The standard Windows 16-colour palette, as (R, G, B); the index is the pixel value.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, SILVER, GRAY, RED, WHITE = 0, 7, 8, 9, 15


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


def pixel(col, row):
    """Palette index for one pixel, or None if it should be transparent."""
    counts = {None: 0, BLACK: 0, RED: 0, WHITE: 0}
    for sy in range(SUB):
        for sx in range(SUB):
            counts[sample(col + (sx + 0.5) / SUB, row + (sy + 0.5) / SUB)] += 1
    total = SUB * SUB
    if counts[None] * 2 > total:
        return None
    # A thin red line covers little of any pixel, so it wins at a lower share than black.
    if counts[RED] * 10 >= total * 3:
        return RED
    # Partly covered pixels become gray or silver, which keeps diagonals from looking jagged.
    ink = counts[BLACK] / (total - counts[None])
    if ink >= 0.6:
        return BLACK
    if ink >= 0.35:
        return GRAY
    if ink >= 0.2:
        return SILVER
    return WHITE


def build_ico():
    """Returns the bytes of a one-image .ico: 32x32, 4 bits per pixel, with an AND mask."""
    image = [[pixel(c, r) for c in range(SIZE)] for r in range(SIZE)]

    # Rows are stored bottom-up. 4-bit pixels: the left pixel goes in the high nibble; 32 pixels
    # give 16 bytes, already a multiple of 4. Transparent pixels are black in the colour bitmap,
    # so AND (keep the screen) then XOR with 0 leaves the screen unchanged.
    xor = bytearray()
    mask = bytearray()
    for row in reversed(image):
        for c in range(0, SIZE, 2):
            xor.append(((row[c] or 0) << 4) | (row[c + 1] or 0))
        bits = 0
        for c in range(SIZE):
            bits = (bits << 1) | (row[c] is None)      # 1 = transparent
        mask += bits.to_bytes(SIZE // 8, "big")        # 4 bytes: already 4-byte aligned

    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    # biHeight is doubled because the AND mask follows the colour bitmap.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    body = header + palette + bytes(xor) + bytes(mask)

    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(body), 6 + 16)
    return icondir + entry + body


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "orvane.ico")
    data = build_ico()
    with open(out, "wb") as f:
        f.write(data)
    print(f"{out}: {len(data)} bytes")


if __name__ == "__main__":
    main()
