#!/usr/bin/env python3
"""Writes a damaged glyph-font payload for the start-up failure test: a zlib
stream with a valid header whose compressed body has been overwritten, so it
no longer inflates. The size is that of a real glyph font (300 KiB).

Usage: make_damaged_glyph.py <output>
"""
import sys
import zlib

data = bytearray(zlib.compress(bytes(i * 7 % 251 for i in range(307200)), 9))
for i in range(len(data) // 3, len(data) // 3 + 64):
    data[i] ^= 0x5A
try:
    zlib.decompress(bytes(data))
    sys.exit("the damaged stream still inflates")
except zlib.error:
    pass
with open(sys.argv[1], "wb") as f:
    f.write(data)
