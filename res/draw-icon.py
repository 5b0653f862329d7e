#!/usr/bin/env python3
"""Draws the window icon, res/qvsetting.png: a rounded plum square with a white ring and tail
(a "Q") over a small relay contact. Run it again after changing the shapes."""
import math
import struct
import zlib

SIZE = 64
PLUM = (136, 102, 119)
DARK = (102, 102, 153)
WHITE = (255, 255, 255)


def coverage(test, x, y, samples=4):
    """Fraction of the pixel (x, y) inside the shape, by supersampling."""
    hits = 0
    for i in range(samples):
        for j in range(samples):
            if test(x + (i + 0.5) / samples, y + (j + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def rounded_square(px, py):
    r, lo, hi = 12.0, 2.0, SIZE - 2.0
    cx = min(max(px, lo + r), hi - r)
    cy = min(max(py, lo + r), hi - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def ring(px, py):
    d = math.hypot(px - 30, py - 29)
    return 12.5 <= d <= 19.5


def tail(px, py):
    # A thick segment from the ring's lower right outwards.
    ax, ay, bx, by = 38.0, 37.0, 50.0, 49.0
    t = max(0.0, min(1.0, ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
    return math.hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay))) <= 3.6


def contact(px, py):
    return 8 <= px <= 22 and 52 <= py <= 56


def blend(under, over, a):
    return tuple(round(u * (1 - a) + o * a) for u, o in zip(under, over))


rows = []
for y in range(SIZE):
    row = bytearray([0])
    for x in range(SIZE):
        a = coverage(rounded_square, x, y)
        colour = PLUM if y < 40 else blend(PLUM, DARK, (y - 40) / 24)
        mark = max(coverage(ring, x, y), coverage(tail, x, y), coverage(contact, x, y))
        colour = blend(colour, WHITE, mark)
        row += bytes(colour) + bytes([round(a * 255)])
    rows.append(bytes(row))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


png = b"\x89PNG\r\n\x1a\n"
png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
png += chunk(b"IEND", b"")
with open(__file__.rsplit("/", 1)[0] + "/qvsetting.png", "wb") as f:
    f.write(png)
