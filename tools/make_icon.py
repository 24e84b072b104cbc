#!/usr/bin/env python3
"""Draws the setup program's icon (resource 104) and writes it as an .ico file.

The picture: a sheet of paper with lines of writing and a red writing brush
laid across it, the product being a writing tool. Two images, 32 x 32 and
16 x 16, each drawn for its own size rather than scaled, in 16 colours (4 bits
per pixel, the standard VGA palette) with a transparency mask, so that every
Windows from the 95 family on shows it.

Usage: make_icon.py <output.ico> [<preview.ppm>]
The optional preview is both images side by side, 8 times enlarged, with the
transparent pixels in light cyan, for looking at the picture.
"""
import math
import struct
import sys

# The standard 16-colour palette (RGB) and the names of the indices used.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, NAVY, SILVER, GRAY, RED, YELLOW, WHITE = 0, 1, 4, 7, 8, 9, 11, 15
CLEAR = None


def blank(size):
    return [[CLEAR] * size for _ in range(size)]


def fill_rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy)), t


def paper(img, x0, y0, x1, y1, fold, lines):
    """A white sheet with a black outline, its top-right corner folded."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            cut = (x - (x1 - fold)) + (y0 + fold - y) > fold
            if cut:
                continue
            edge = x in (x0, x1) or y in (y0, y1) or (x - (x1 - fold)) + (y0 + fold - y) == fold
            img[y][x] = BLACK if edge else WHITE
    # The folded-over corner.
    for i in range(fold):
        for j in range(fold - i):
            x, y = x1 - fold + i, y0 + fold - j
            if img[y][x] == WHITE:
                img[y][x] = SILVER
    for y, xa, xb in lines:
        for x in range(xa, xb + 1):
            img[y][x] = NAVY


def brush(img, ax, ay, bx, by, radius, tip_fraction):
    """A brush from (ax, ay), the end of its handle, to the tip at (bx, by)."""
    size = len(img)
    for y in range(size):
        for x in range(size):
            d, t = segment_distance(x + 0.5, y + 0.5, ax, ay, bx, by)
            r = radius if t < 1.0 - tip_fraction else radius * (1.0 - t) / tip_fraction + 0.35
            if d <= r + 0.55:
                if d > r - 0.45:
                    img[y][x] = BLACK
                elif t >= 1.0 - tip_fraction:
                    img[y][x] = BLACK
                elif t < 0.12:
                    img[y][x] = YELLOW
                else:
                    img[y][x] = RED


def icon32():
    img = blank(32)
    paper(img, 3, 2, 22, 29, 6,
          [(9, 7, 15), (12, 7, 18), (15, 7, 18), (18, 7, 18), (21, 7, 14)])
    brush(img, 29.5, 2.5, 13.0, 26.5, 2.6, 0.30)
    return img


def icon16():
    img = blank(16)
    paper(img, 1, 1, 11, 14, 3, [(5, 3, 7), (7, 3, 9), (9, 3, 9), (11, 3, 6)])
    brush(img, 15.2, 0.8, 7.0, 14.2, 1.6, 0.30)
    return img


def image_entry(img):
    """BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit mask, bottom-up."""
    size = len(img)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(xor_stride)
        mbits = bytearray(and_stride)
        for x, colour in enumerate(row):
            index = 0 if colour is CLEAR else colour
            bits[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if colour is CLEAR:
                mbits[x // 8] |= 0x80 >> (x % 8)
        xor += bits
        mask += mbits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def write_ico(path, images):
    entries = [image_entry(img) for img in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for img, data in zip(images, entries):
        size = len(img)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def write_preview(path, images, scale=8):
    width = sum(len(img) for img in images) * scale + scale * (len(images) - 1)
    height = max(len(img) for img in images) * scale
    pixels = [[(224, 255, 255)] * width for _ in range(height)]
    left = 0
    for img in images:
        for y, row in enumerate(img):
            for x, colour in enumerate(row):
                rgb = (224, 255, 255) if colour is CLEAR else PALETTE[colour]
                for dy in range(scale):
                    for dx in range(scale):
                        pixels[y * scale + dy][left + x * scale + dx] = rgb
        left += len(img) * scale + scale
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (width, height))
        for row in pixels:
            f.write(bytes(c for rgb in row for c in rgb))


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    images = [icon32(), icon16()]
    write_ico(sys.argv[1], images)
    if len(sys.argv) == 3:
        write_preview(sys.argv[2], images)


if __name__ == "__main__":
    main()
