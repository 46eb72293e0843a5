#!/usr/bin/env python3
"""Writes fenlodar.ico: a task page with a blue arrow pointing at a new
address line, as 16, 32 and 48 pixel images of 16 colours (4 bits a pixel,
the standard 16-colour palette, transparent around the page).

Run from anywhere: python3 app/make_icon.py [output path]
"""
import os
import struct
import sys

# The 16 standard colours, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, WHITE, BLUE, GREEN, DARK_GREEN = 0, 8, 15, 12, 10, 2
CLEAR = None


def pixel(x, y):
    """Colour of the point (x, y) in the unit square, y growing downwards."""
    # The page, with its top-right corner folded.
    left, right, top, bottom, fold = 0.16, 0.84, 0.04, 0.96, 0.24
    inside_page = left <= x <= right and top <= y <= bottom
    cut = (x - (right - fold)) + (top + fold - y) > fold
    if not inside_page or cut:
        return CLEAR
    edge = 0.06
    on_fold = x >= right - fold - edge / 2 and y <= top + fold + edge / 2 and \
        (x - (right - fold)) + (top + fold - y) > fold - edge
    if on_fold or x < left + edge or x > right - edge or y > bottom - edge or \
            (y < top + edge and x < right - fold):
        return BLACK
    # A green line: the new address the page receives.
    if 0.74 <= y <= 0.84 and 0.28 <= x <= 0.72:
        return DARK_GREEN if y > 0.80 else GREEN
    # A blue arrow pointing down at it.
    if 0.22 <= y <= 0.48 and 0.42 <= x <= 0.58:
        return BLUE
    if 0.48 <= y <= 0.70 and abs(x - 0.5) <= (0.70 - y) * 0.95:
        return BLUE
    return WHITE


def image(size):
    colours = [[pixel((i + 0.5) / size, (j + 0.5) / size) for i in range(size)]
               for j in range(size)]
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(colours):  # bottom-up, as bitmaps are stored
        line = bytearray(xor_row)
        bits = bytearray(and_row)
        for i, colour in enumerate(row):
            value = 0 if colour is CLEAR else colour
            line[i // 2] |= value << (4 if i % 2 == 0 else 0)
            if colour is CLEAR:
                bits[i // 8] |= 0x80 >> (i % 8)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def icon_file(sizes):
    images = [image(size) for size in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, 'fenlodar.ico')
    with open(target, 'wb') as f:
        f.write(icon_file([16, 32, 48]))


if __name__ == '__main__':
    main()
