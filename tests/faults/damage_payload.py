#!/usr/bin/env python3
"""A damaged copy of one packed product payload: one bit flipped in the
middle of its deflate data, at the first position from there on where the
stream no longer inflates (checked here, so the copy is surely refused).

usage: damage_payload.py <packed payload> <damaged copy>
"""
import sys
import zlib


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, "rb") as f:
        stream = f.read()
    for bit in range(len(stream) * 4, (len(stream) - 4) * 8):
        damaged = bytearray(stream)
        damaged[bit // 8] ^= 1 << (bit % 8)
        try:
            zlib.decompress(bytes(damaged))
        except zlib.error:
            with open(target, "wb") as f:
                f.write(damaged)
            return
    sys.exit(f"{source}: no bit flip after the middle spoils the stream")


if __name__ == "__main__":
    main()
