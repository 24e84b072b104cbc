#!/usr/bin/env python3
"""Turns a UTF-8 text of the repository into a Windows text file of the product.

The sources are kept in UTF-8 with LF line ends, so that they read and diff
well; the product wants GB2312 (or plain ASCII) with CR LF line ends. Every line
of the output, the last one included, ends in CR LF. A character that the
target encoding lacks stops the build rather than turning into a '?'.

Usage: text_file.py <encoding> <input> <output>
"""
import sys

from common import fail, write_file


def convert(text, encoding, name):
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    out = []
    for number, line in enumerate(lines, 1):
        try:
            out.append(line.rstrip(" ").encode(encoding) + b"\r\n")
        except UnicodeEncodeError as e:
            fail(f"{name}:{number}: {line[e.start:e.end]!r} cannot be written in {encoding}")
    return b"".join(out)


def main():
    if len(sys.argv) != 4:
        fail("usage: text_file.py <encoding> <input> <output>")
    encoding, source, output = sys.argv[1:]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    write_file(output, convert(text, encoding, source))


if __name__ == "__main__":
    main()
