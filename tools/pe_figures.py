#!/usr/bin/env python3
"""Prints the size of the setup program and the bytes it carries beside its
payload streams: the file size less the payload store, the one resource that
holds every stream (its records and everything else count as beside).

usage: pe_figures.py <exe>
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_file import PE  # noqa: E402


def main():
    exe = sys.argv[1]
    data = open(exe, "rb").read()
    store, rows = PE(data).payload_store()
    payloads = sum(len(row[4]) for row in rows)
    assert payloads == len(store)
    print(f"{os.path.basename(exe)}: {len(data)} bytes, {payloads} in payload streams, "
          f"{len(data) - payloads} beside them")


if __name__ == "__main__":
    main()
