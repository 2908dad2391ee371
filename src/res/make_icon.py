#!/usr/bin/env python3
"""Draws Setup's icon (a loudspeaker sending out sound waves) and writes it as
a Windows .ico with a 32x32 and a 16x16 image in 16 colours, the form every
Windows release from 95 on shows.

The drawing is made of shapes in a unit square, sampled at each pixel's
centre, so both sizes come from the same picture.

Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

# The 16-colour palette of Windows (index: (r, g, b)).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREY, SILVER, NAVY, TEAL, CYAN, WHITE, YELLOW = 0, 8, 7, 4, 6, 14, 15, 11


def magnet(u, v):
    return 0.06 <= u <= 0.30 and 0.34 <= v <= 0.66


def cone(u, v):
    if not 0.28 <= u <= 0.56:
        return False
    half = 0.16 + (u - 0.28) / 0.28 * 0.26
    return abs(v - 0.5) <= half


def wave(u, v):
    """Three arcs to the right of the cone."""
    du, dv = u - 0.50, v - 0.5
    if du <= 0 or abs(math.atan2(dv, du)) > math.radians(50):
        return False
    r = math.hypot(du, dv)
    return any(abs(r - radius) <= 0.035 for radius in (0.17, 0.30, 0.43))


def shine(u, v):
    return 0.33 <= u <= 0.38 and 0.33 <= v <= 0.45


def draw(size):
    """Returns rows (top first) of palette indices, None where transparent."""
    def inside(shape, x, y):
        return 0 <= x < size and 0 <= y < size and shape((x + 0.5) / size, (y + 0.5) / size)

    def outlined(shape, x, y):
        return any(not inside(shape, x + dx, y + dy)
                   for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            colour = None
            if inside(wave, x, y):
                colour = NAVY
            if inside(magnet, x, y):
                colour = BLACK if outlined(magnet, x, y) else DARK_GREY
            if inside(cone, x, y):
                if outlined(cone, x, y):
                    colour = BLACK
                elif size >= 32 and inside(shine, x, y):
                    colour = WHITE
                else:
                    colour = CYAN if (x + 0.5) / size < 0.45 else TEAL
            row.append(colour)
        rows.append(row)
    return rows


def image_bytes(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour, mask = b'', b''
    for row in reversed(rows):  # bottom-up
        nibbles = [c if c is not None else 0 for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour += line.ljust(colour_stride, b'\0')
        bits = 0
        for i, c in enumerate(row):
            if c is None:
                bits |= 1 << (size - 1 - i)
        mask += bits.to_bytes((size + 7) // 8, 'big').ljust(mask_stride, b'\0')
    return header + palette + colour + mask


def main():
    images = [image_bytes(draw(size)) for size in (32, 16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
