#!/usr/bin/env python3
"""Draws Trelvane's application icon: a yellow module folder with a chip on it and a
green switch arrow, in the 16 standard VGA colours, 32x32 and 16x16.

Usage: make_icon.py OUT.ico   (the committed Trelvane.ico is this script's output)
"""
import struct
import sys

# The standard 16-colour palette (RGB); the indexes below name what we use.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_YELLOW, SILVER, GREY, GREEN, DARK_GREEN, YELLOW, WHITE = 0, 3, 7, 8, 10, 2, 11, 15
CLEAR = None


def draw(size):
    """Returns size rows of size palette indexes (CLEAR for transparent)."""
    s = size / 32.0
    pixels = [[CLEAR] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(round(y0 * s), round(y1 * s)):
            for x in range(round(x0 * s), round(x1 * s)):
                if 0 <= x < size and 0 <= y < size:
                    pixels[y][x] = colour

    def outline(x0, y0, x1, y1, colour):
        a, b, c, d = round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1
        for x in range(a, c + 1):
            pixels[b][x] = pixels[d][x] = colour
        for y in range(b, d + 1):
            pixels[y][a] = pixels[y][c] = colour

    # The folder: tab, body, dark outline.
    box(2, 6, 13, 10, DARK_YELLOW)
    box(2, 9, 30, 28, YELLOW)
    outline(2, 9, 30, 28, DARK_YELLOW)
    box(2, 9, 30, 10, DARK_YELLOW)
    # A chip on the folder: body with legs top and bottom.
    box(9, 14, 23, 24, GREY)
    outline(9, 14, 23, 24, BLACK)
    for x in range(10, 22, 3):
        box(x + 0.5, 12, x + 2, 14, SILVER)
        box(x + 0.5, 24, x + 2, 26, SILVER)
    box(11, 16, 13, 18, WHITE)  # pin-one mark
    # The switch arrow in the top right corner.
    box(19, 3, 29, 6, GREEN)
    box(25, 1, 27, 8, GREEN)
    box(27, 2, 29, 7, GREEN)
    box(29, 3, 31, 6, GREEN)
    outline(19, 3, 25, 6, DARK_GREEN)
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        nibbles = [(BLACK if p is CLEAR else p) for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += data.ljust(xor_stride, b"\0")
        bits = 0
        for x, p in enumerate(row):
            if p is CLEAR:
                bits |= 1 << (size - 1 - x)
        mask += bits.to_bytes((size + 7) // 8, "big").ljust(and_stride, b"\0")
    return header + palette + xor + mask


def main(path):
    images = [image(32), image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
