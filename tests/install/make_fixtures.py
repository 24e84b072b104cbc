#!/usr/bin/env python3
"""Fixture payloads for the payload store tests: good, damaged and odd zlib
streams, and the payload store that embeds them (payloads.rc).

usage: make_fixtures.py <output folder>
"""
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from payload_store import RECORD_FORMAT, own_record, write_store  # noqa: E402

# Identifiers shared with test_payload.cpp.
GOOD = 901           # 4096 deterministic bytes
BAD_HEADER = 902     # header check bits wrong
BAD_DEFLATE = 903    # deflate block type 3 (reserved)
BAD_ADLER = 904      # last byte of the Adler-32 flipped
WORD_BASE = 905      # the worked example of the word base in source form
TRUNCATED = 906      # the good stream cut in half
LARGE = 908          # 1.5 MiB of deterministic bytes: three pieces inflated ahead
LARGE_CUT = 909      # the large stream cut short in its last third
OVERRUN = 907        # the good stream, last in the store, whose record says
                     # one byte more than the store holds

GOOD_LENGTH = 4096
LARGE_LENGTH = 3 * 512 * 1024


def good_bytes(length=GOOD_LENGTH):
    return bytes((i * 7 + (i >> 8)) & 0xFF for i in range(length))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    good = zlib.compress(good_bytes(), 9)
    bad_header = bytes([good[0], good[1] ^ 0x01]) + good[2:]
    bad_deflate = good[:2] + bytes([0x07]) + good[3:]   # BFINAL=1, BTYPE=11
    bad_adler = good[:-1] + bytes([good[-1] ^ 0xFF])
    large = zlib.compress(good_bytes(LARGE_LENGTH), 9)
    # Deflate's output runs evenly through this input, so a cut at 5/6 of the
    # stream falls in the last of the three pieces.
    large_cut = large[:len(large) * 5 // 6]
    word_base = zlib.compress(bytes.fromhex("6162 B0A1C2 B3F435 6364 C1D2E3 00"), 9)
    fixtures = {
        GOOD: good, BAD_HEADER: bad_header, BAD_DEFLATE: bad_deflate,
        BAD_ADLER: bad_adler, WORD_BASE: word_base, TRUNCATED: good[:len(good) // 2],
        LARGE: large, LARGE_CUT: large_cut,
    }
    entries = [(own_record(ident, blob), blob) for ident, blob in fixtures.items()]
    ident, size, adler, installed = struct.unpack(RECORD_FORMAT, own_record(OVERRUN, good))
    entries.append((struct.pack(RECORD_FORMAT, ident, size + 1, adler, installed), good))
    write_store(out, entries)


if __name__ == "__main__":
    main()
