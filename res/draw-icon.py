#!/usr/bin/env python3
"""Draws the window icon, res/qvsetting.png (64 px, compiled into the programs), and the desktop
icons res/icons/qvsetting-N.png in the hicolor sizes: a rounded plum square with a white ring and
tail (a "Q") over a small relay contact. The shapes are laid out on a 64-unit grid and sampled at
each size. res/qvsetting.svg draws the same shapes. Run it again after changing the shapes."""
import math
import os
import struct
import zlib

GRID = 64
SIZE = GRID  # the shapes below use SIZE as the grid
HICOLOR_SIZES = (16, 24, 32, 48, 128, 256)  # 64 is qvsetting.png itself
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


def render(size):
    """The icon as PNG bytes, `size` pixels square."""
    scale = GRID / size
    rows = []
    for y in range(size):
        row = bytearray([0])
        for x in range(size):
            def cover(test):
                return coverage(lambda px, py: test(px * scale, py * scale), x, y)
            gy = y * scale
            a = cover(rounded_square)
            colour = PLUM if gy < 40 else blend(PLUM, DARK, (gy - 40) / 24)
            mark = max(cover(ring), cover(tail), cover(contact))
            colour = blend(colour, WHITE, mark)
            row += bytes(colour) + bytes([round(a * 255)])
        rows.append(bytes(row))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
    png += chunk(b"IEND", b"")
    return png


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "qvsetting.png"), "wb") as f:
    f.write(render(GRID))
os.makedirs(os.path.join(here, "icons"), exist_ok=True)
for size in HICOLOR_SIZES:
    with open(os.path.join(here, "icons", f"qvsetting-{size}.png"), "wb") as f:
        f.write(render(size))
