#!/usr/bin/env python3
"""Draws the greeter's icon as PNG files, one per size: a green disc with a white speech bubble.

Usage: draw_icon.py OUTPUT_PREFIX SIZE...   (writes OUTPUT_PREFIX-SIZE.png)
Drawn here rather than shipped, so that the example's icon is made from text in the build.
"""
import struct
import sys
import zlib


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def pixel(x, y, size):
    # Coordinates in units of the icon's size, centre (0.5, 0.5); four samples per pixel for soft edges.
    covered_disc = covered_bubble = 0
    for sx, sy in ((0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75)):
        u, v = (x + sx) / size - 0.5, (y + sy) / size - 0.5
        if u * u + v * v <= 0.48 * 0.48:
            covered_disc += 1
            in_body = abs(u) <= 0.26 and -0.2 <= v <= 0.1
            in_tail = 0.1 <= v <= 0.26 and -0.16 <= u <= -0.16 + (0.26 - v) * 0.9
            if in_body or in_tail:
                covered_bubble += 1
    alpha = covered_disc * 255 // 4
    if covered_bubble:
        return (255, 255, 255, alpha)
    return (46, 139, 87, alpha)


def png(size):
    rows = b"".join(b"\0" + bytes(c for x in range(size) for c in pixel(x, y, size)) for y in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


if __name__ == "__main__":
    prefix, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
    for size in sizes:
        with open(f"{prefix}-{size}.png", "wb") as out:
            out.write(png(size))
