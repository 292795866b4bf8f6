#!/usr/bin/env python3
"""Draws Tessaril's icon: a strip of film with a red stroke across it, 48 x 48 pixels,
32 bits per pixel with alpha, and writes it as resources/tessaril.ico."""
import math
import struct
import sys

SIZE = 48


def pixel(x, y):
    """The colour (r, g, b, a) at the centre of pixel (x, y), top row first."""
    cx, cy = x + 0.5, y + 0.5
    # Red stroke from the top right to the bottom left, over everything.
    distance = abs((cx - 6) + (cy - 42)) / math.sqrt(2)  # to the line x + y = 48
    if distance < 3.2 and 6 <= cx <= 42:
        return (214, 40, 40, 255)
    # The film strip: a dark band with sprocket holes along both edges.
    if 8 <= cy < 40 and 4 <= cx < 44:
        in_edge = cy < 13 or cy >= 35
        if in_edge and (int(cx) - 6) % 6 < 3 and (9 <= cy < 11 or 37 <= cy < 39):
            return (250, 246, 232, 255)
        if not in_edge and 8 <= cx < 40:
            frame = (int(cx) - 8) // 11
            left = 8 + frame * 11
            if left + 1 <= cx < left + 10:
                shade = int(150 + 80 * (cy - 13) / 22)
                return (70, 120 + frame * 25, shade, 255)
        return (38, 40, 46, 255)
    return (0, 0, 0, 0)


def main(path):
    xor = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            xor += bytes((b, g, r, a))
    mask_row = (SIZE + 31) // 32 * 4
    and_mask = bytearray()
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            if pixel(x, y)[3] == 0:
                bits |= 1 << (mask_row * 8 - 1 - x)
        and_mask += bits.to_bytes(mask_row, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image = header + xor + and_mask
    assert len(image) == 9640, len(image)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/tessaril.ico")
