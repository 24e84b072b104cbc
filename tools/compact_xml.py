#!/usr/bin/env python3
"""Writes an XML file as a program carries it: without comments and without
the whitespace between tags, which only the source's reader needs.

Usage: compact_xml.py <source> <output>
"""
import re
import sys

source, output = sys.argv[1:3]
text = open(source, encoding="utf-8").read()
text = re.sub(r"<!--.*?-->", "", text, flags=re.S)
text = re.sub(r">\s+<", "><", text).strip()
with open(output, "w", encoding="utf-8", newline="") as f:
    f.write(text)
