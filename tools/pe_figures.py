#!/usr/bin/env python3
"""Prints the size of the setup program and the bytes it carries beside its
payload streams: the file size less the sum of its "TEXT" resources.

usage: pe_figures.py <exe>
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_file import PE  # noqa: E402


def main():
    exe = sys.argv[1]
    data = open(exe, "rb").read()
    payloads = sum(len(b) for b in PE(data).resources_of_type("TEXT").values())
    print(f"{os.path.basename(exe)}: {len(data)} bytes, {payloads} in payload streams, "
          f"{len(data) - payloads} beside them")


if __name__ == "__main__":
    main()
