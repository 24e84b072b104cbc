#!/usr/bin/env python3
"""Fixture glyph-font payloads for the glyph tests, each as payload 110 in a
payload store of its own, in a folder of the fixture's name (one per
resource-only DLL that the tests load as a data file):

- font:      a 241,664-byte font whose every cell says which cell it is:
             pixel row 0 carries the cell index as 16 bits (most significant
             bit leftmost, ink where the bit is 1), and each row j from 1 to 15
             has ink in pixel column j only;
- exact:     307,200 bytes of background, exactly the work buffer's size;
- oversize:  307,201 bytes, one more than the work buffer holds;
- damaged:   the font's stream with bytes in its middle overwritten.

usage: make_glyph_fixtures.py <output folder>
"""
import os
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from payload_store import fixture_store  # noqa: E402

STRIP_WIDTH, STRIP_HEIGHT = 512, 944
ROW_BYTES = STRIP_WIDTH // 8
STRIP_BYTES = ROW_BYTES * STRIP_HEIGHT
STRIPS = 4
CELLS_ACROSS, CELL_ROWS_PER_STRIP = 32, 59
CELLS = STRIPS * CELLS_ACROSS * CELL_ROWS_PER_STRIP     # 7,552
WORK_BUFFER = 307200


def cell_ink_rows(index):
    """16 rows of 16 bits, bit 15 the leftmost pixel, set = ink."""
    return [index & 0xFFFF] + [0x8000 >> j for j in range(1, 16)]


def fixture_font():
    font = bytearray(b"\xff" * (STRIPS * STRIP_BYTES))   # 1 bits: background
    for index in range(CELLS):
        row, column = divmod(index, CELLS_ACROSS)
        strip, strip_row = divmod(row, CELL_ROWS_PER_STRIP)
        for j, ink in enumerate(cell_ink_rows(index)):
            bits = ~ink & 0xFFFF                         # 0 bits: ink
            at = strip * STRIP_BYTES + (strip_row * 16 + j) * ROW_BYTES + column * 2
            font[at] = bits >> 8
            font[at + 1] = bits & 0xFF
    return bytes(font)


def damaged(stream):
    data = bytearray(stream)
    middle = len(data) // 2
    for i in range(middle, middle + 64):
        data[i] ^= 0x5A
    try:
        zlib.decompress(bytes(data))
    except zlib.error:
        return bytes(data)
    sys.exit("the damaged fixture still inflates")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    font = zlib.compress(fixture_font(), 9)
    payloads = {
        "font": font,
        "exact": zlib.compress(b"\xff" * WORK_BUFFER, 9),
        "oversize": zlib.compress(b"\xff" * (WORK_BUFFER + 1), 9),
        "damaged": damaged(font),
    }
    for name, blob in payloads.items():
        fixture_store(os.path.join(out, name), {110: blob})


if __name__ == "__main__":
    main()
