#!/usr/bin/env python3
"""Draws the program's icon, a screen with two arrows pointing apart (the
picture widening to the screen's ratio), and writes it as a Windows .ico
with 16, 32, 48 and 256 pixel images. Plain Python, no libraries.

Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)
SAMPLES = 4  # per pixel and axis, for smooth edges

FRAME = (0x2B, 0x2F, 0x36)   # the screen's case and stand
GLASS = (0x1E, 0x6F, 0xD9)   # the picture
ARROW = (0xFF, 0xFF, 0xFF)


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    return (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0)


def in_arrows(x, y, size):
    """Two arrows from the middle outwards, one to the left, one to the right."""
    middle = 0.45
    # Thicker strokes on the small images, so that they stay visible.
    half = 0.055 if size >= 48 else 0.075
    head = 0.14 if size >= 48 else 0.17
    gap = 0.035 if size >= 32 else 0.0
    if abs(y - middle) <= half and (0.30 <= x <= 0.5 - gap or 0.5 + gap <= x <= 0.70):
        return True
    return (in_triangle(x, y, (0.14, middle), (0.32, middle - head), (0.32, middle + head)) or
            in_triangle(x, y, (0.86, middle), (0.68, middle - head), (0.68, middle + head)))


def colour_at(x, y, size):
    """The colour at a point of the unit square, or None where it is clear."""
    if in_rounded_rect(x, y, 0.03, 0.10, 0.97, 0.80, 0.06):
        if in_rounded_rect(x, y, 0.08, 0.15, 0.92, 0.75, 0.02):
            return ARROW if in_arrows(x, y, size) else GLASS
        return FRAME
    if 0.44 <= x <= 0.56 and 0.80 <= y <= 0.88:  # the neck
        return FRAME
    if in_rounded_rect(x, y, 0.26, 0.87, 0.74, 0.95, 0.03):  # the foot
        return FRAME
    return None


def draw(size):
    rows = []
    for py in range(size):
        row = bytearray([0])  # PNG filter: none
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size, size)
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += colour[i]
            if covered:
                row += bytes(round(t / covered) for t in total)
                row.append(round(255 * covered / SAMPLES ** 2))
            else:
                row += b"\0\0\0\0"
        rows.append(bytes(row))
    return png(size, b"".join(rows))


def png(size, raw):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dimension = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as out:
        out.write(ico([(size, draw(size)) for size in SIZES]))
