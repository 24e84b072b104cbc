#!/usr/bin/env python3
"""Writes agreement payloads at the edges of the loader's 65,536-byte buffer,
packed like the product's payloads (the test program's payload store takes
them, cmake/WineTests.cmake):

- 124 (Chinese): 600 GB2312 lines ending in CR LF and a last line without CR,
  65,535 bytes in all: the largest text that still leaves room for the
  closing zero, with more lines than the list takes.
- 161 (English): 65,536 bytes, one too many: it must be refused.

Usage: make_agreement_fixtures.py <output folder>
"""
import os
import sys
import zlib

BUFFER = 65536


def chinese_text():
    lines = []
    for i in range(600):
        line = ("第%03d行 协议 line %03d " % (i, i)).encode("gb2312")
        lines.append(line + b"." * (107 - len(line)) + b"\r\n")
    text = b"".join(lines)
    text += "没有回车的最后一行".encode("gb2312")
    return text + b"x" * (BUFFER - 1 - len(text))


def english_text():
    line = b"The English agreement, one line of it.\r\n"
    text = line * (BUFFER // len(line) + 1)
    return text[:BUFFER]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    texts = {124: chinese_text(), 161: english_text()}
    assert len(texts[124]) == BUFFER - 1 and len(texts[161]) == BUFFER
    for ident, data in texts.items():
        with open(os.path.join(out, "%d.z" % ident), "wb") as f:
            f.write(zlib.compress(data, 9))


if __name__ == "__main__":
    main()
