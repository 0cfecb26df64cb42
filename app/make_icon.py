#!/usr/bin/env python3
"""Writes the program's icon: a 32x32 and a 16x16 picture of a blue sheet
with a folded corner and an orange band, as 32-bit images in one .ico file.

Usage: make_icon.py out.ico
"""

import struct
import sys


def pixel(x, y, size):
    """BGRA of one pixel, (0, 0) at the top left."""
    margin = size // 8
    fold = size // 4
    inside = margin <= x < size - margin and 0 <= y < size
    if not inside:
        return (0, 0, 0, 0)
    right = size - margin
    if x >= right - fold and y < fold and (x - (right - fold)) > y:
        return (0, 0, 0, 0)  # the folded-away corner
    if size * 5 // 8 <= y < size * 6 // 8:
        return (0x20, 0x90, 0xF0, 0xFF)  # orange band
    edge = x in (margin, right - 1) or y in (0, size - 1)
    return (0x80, 0x40, 0x10, 0xFF) if edge else (0xE0, 0xA0, 0x40, 0xFF)


def image(size):
    rows = []
    for y in reversed(range(size)):  # DIB rows run bottom-up
        rows.append(b"".join(bytes(pixel(x, y, size)) for x in range(size)))
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + bytes(mask_row * size)


def main():
    sizes = (32, 16)
    images = [image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as handle:
        handle.write(out + b"".join(images))


if __name__ == "__main__":
    main()
