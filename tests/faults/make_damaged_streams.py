#!/usr/bin/env python3
"""Damaged copies of one real payload stream, for the payload store's tests.

From a packed product payload it writes: the stream itself, single-bit flips
at a table of positions over the whole stream (header, deflate data, Adler-32
trailer), truncations at many cut points, a wrong Adler-32, the stream with
bytes after its end, a zero-length stream, and streams that inflate to exactly
the size of each buffer the program uses and to one byte more. It also writes
the payload store that embeds them, each under a record of its own size, so
that the payload store gives the inflater exactly the damaged bytes, and an
include file with the table of cases for the test program.

usage: make_damaged_streams.py <packed payload> <output folder>
"""
import os
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from payload_store import fixture_store  # noqa: E402

ORIGINAL = 3000
EMPTY = 3001
WRONG_ADLER = 3002
FIRST_FLIP = 3100
FIRST_CUT = 3700
FIRST_TRAILING = 3800
FIRST_SIZED = 3900

# Every buffer size the program inflates into: agreement texts, glyph font,
# install run, speech module. The test checks them against the product's own.
BUFFER_SIZES = (65536, 307200, 9 * 1024 * 1024, 12 * 1024 * 1024)

HEADER_BYTES = 2
TRAILER_BYTES = 4
# One bit in this many over the deflate data, besides the bits flipped at
# every position of the edges below.
FLIP_STRIDE = 37


def sized_bytes(length):
    """Deterministic bytes with a short period, so that even 12 MiB pack
    small; the test computes the same sequence."""
    period = bytes((i * 7 + 3) % 251 for i in range(251))
    return (period * (length // 251 + 1))[:length]


def flip_positions(stream):
    """(bit index, region) of the flips: every bit of the header, of the
    first deflate byte, of the last two deflate bytes (the end of the final
    block and its padding) and of the trailer; every bit that a reference
    inflater passes over; and a stride over the rest of the deflate data."""
    total_bits = len(stream) * 8
    deflate_start = HEADER_BYTES * 8
    trailer_start = (len(stream) - TRAILER_BYTES) * 8
    chosen = set(range(0, deflate_start + 8))
    chosen |= set(range(trailer_start - 16, total_bits))
    chosen |= set(range(deflate_start + 8, trailer_start - 16, FLIP_STRIDE))
    original = zlib.decompress(stream)
    for bit in range(deflate_start, trailer_start):
        if inflates_to(flipped(stream, bit), original):
            chosen.add(bit)
    def region(bit):
        if bit < deflate_start:
            return "kHeader"
        return "kTrailer" if bit >= trailer_start else "kDeflate"
    return [(bit, region(bit)) for bit in sorted(chosen)]


def flipped(stream, bit):
    damaged = bytearray(stream)
    damaged[bit // 8] ^= 1 << (bit % 8)
    return bytes(damaged)


def inflates_to(stream, expected):
    try:
        return zlib.decompress(stream) == expected
    except zlib.error:
        return False


def cut_points(length):
    """Where truncations end: the first bytes, the header alone, the middle,
    the end of the deflate data and inside the trailer."""
    points = {1, 2, 3, 10, length // 4, length // 2, 3 * length // 4,
              length - 8, length - 5, length - 4, length - 3, length - 2, length - 1}
    return sorted(p for p in points if 0 < p < length)


def main():
    source, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    with open(source, "rb") as f:
        stream = f.read()
    original = zlib.decompress(stream)

    fixtures = {ORIGINAL: stream, EMPTY: b""}
    adler = bytearray(stream)
    adler[-4:] = ((zlib.adler32(original) + 1) & 0xFFFFFFFF).to_bytes(4, "big")
    fixtures[WRONG_ADLER] = bytes(adler)

    flips = flip_positions(stream)
    flip_rows = []
    for n, (bit, region) in enumerate(flips):
        fixtures[FIRST_FLIP + n] = flipped(stream, bit)
        flip_rows.append(f"    {{{FIRST_FLIP + n}, {bit // 8}, {bit % 8}, {region}}},")
    assert FIRST_FLIP + len(flips) <= FIRST_CUT, "too many flips for their identifiers"

    cut_rows = []
    for n, cut in enumerate(cut_points(len(stream))):
        fixtures[FIRST_CUT + n] = stream[:cut]
        cut_rows.append(f"    {{{FIRST_CUT + n}, {cut}}},")

    trailing = {"one zero byte": b"\0", "four bytes": b"\xde\xad\xbe\xef",
                "a second stream": zlib.compress(b"another payload", 9)}
    trailing_rows = []
    for n, (what, extra) in enumerate(trailing.items()):
        fixtures[FIRST_TRAILING + n] = stream + extra
        trailing_rows.append(f'    {{{FIRST_TRAILING + n}, "{what}"}},')

    sized_rows = []
    for n, size in enumerate(BUFFER_SIZES):
        exact, over = FIRST_SIZED + 2 * n, FIRST_SIZED + 2 * n + 1
        fixtures[exact] = zlib.compress(sized_bytes(size), 9)
        fixtures[over] = zlib.compress(sized_bytes(size + 1), 9)
        sized_rows.append(f"    {{{exact}, {over}, {size}u}},")

    assert fixtures[EMPTY] == b"", "the zero-length fixture is not empty"
    fixture_store(out, dict(sorted(fixtures.items())))

    with open(os.path.join(out, "damaged_streams.inc"), "w") as f:
        f.write(f"""// Made by make_damaged_streams.py from {os.path.basename(source)}; do not edit.
constexpr int kOriginalStream = {ORIGINAL};
constexpr int kEmptyStream = {EMPTY};
constexpr int kWrongAdlerStream = {WRONG_ADLER};
constexpr uint32_t kStreamLength = {len(stream)}u;
constexpr uint32_t kOriginalLength = {len(original)}u;
constexpr uint32_t kOriginalCrc32 = 0x{zlib.crc32(original):08X}u;
// Flips that a reference inflater passes over: the stream still inflates to
// the original bytes.
constexpr int kReferenceHarmlessFlips = {sum(inflates_to(fixtures[FIRST_FLIP + n], original) for n in range(len(flips)))};

const BitFlip kBitFlips[] = {{
{chr(10).join(flip_rows)}
}};
const Truncation kTruncations[] = {{
{chr(10).join(cut_rows)}
}};
const TrailingBytes kTrailingBytes[] = {{
{chr(10).join(trailing_rows)}
}};
const SizedStream kSizedStreams[] = {{
{chr(10).join(sized_rows)}
}};
""")


if __name__ == "__main__":
    main()
