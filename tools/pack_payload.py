#!/usr/bin/env python3
"""Packs one payload source into the zlib stream the setup program carries.

Every payload is one complete zlib stream at the best compression level, so it
starts with the header bytes 0x78 0xDA. A missing or unreadable source is a
build error: an empty resource would only fail later, at install time.
"""
import sys
import zlib


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: pack_payload.py <identifier> <source> <output>")
    ident, source, output = sys.argv[1:]
    try:
        with open(source, "rb") as f:
            data = f.read()
    except OSError as e:
        sys.exit(f"payload {ident}: source file {source} is missing or unreadable ({e.strerror})")
    packed = zlib.compress(data, 9)
    assert packed[:2] == b"\x78\xda"
    with open(output, "wb") as f:
        f.write(packed)


if __name__ == "__main__":
    main()
