#!/usr/bin/env python3
"""Writes the table of what the build knows about every payload it packed:
the size and Adler-32 of its stored stream, and the size of the file the
install run makes of it (the word base counted in its weighted form).

The check before the install run compares each stored stream with its row
and adds up the installed sizes, instead of inflating every payload only to
learn that it inflates and how big it is. The rows come from the packed
streams themselves, so a stream whose bytes match its row is one the packer
has already read back into its source (pack_payload.py).

It also writes the store: every stream, one after the other in the order
of the rows, which the program carries as one resource (a resource per
payload would cost the program a directory entry and padding each). The
program finds a payload's stream by adding up the stored sizes of the rows
before its own.

The table is a resource of the program (Payloads.cmake names it), one
record of 16 bytes per payload, little-endian: identifier (2 bytes), two zero
bytes, stored size, Adler-32 of the stored bytes, installed size (4 bytes each).

usage: payload_records.py <payload table> <packed folder> <records out> <store out>
"""
import os
import re
import struct
import sys
import zlib

from payload_store import write_if_changed

RECORD_FORMAT = "<HxxIII"
WORD_BASE_NAME = "pycizudic.idx"
WEIGHTED_MARKER_BYTES = 1
# An ASCII byte of a key, or a whole 3-byte group; the weighted form copies
# both and adds one weight byte per group. Matching stops where the writer
# stops: at a zero byte, or at a group cut short by the end of the data.
ENTRY_TOKEN = re.compile(rb"(?:[\x01-\x7f]|[\x80-\xff][\x00-\xff]{2})*", re.DOTALL)
GROUPS = re.compile(rb"(?:[\x80-\xff][\x00-\xff]{2})+|[\x01-\x7f]+", re.DOTALL)


def weighted_size(data):
    """Bytes of the weighted form that the file writer makes of source data."""
    written = ENTRY_TOKEN.match(data).group(0)
    groups = sum(len(t) // 3 for t in GROUPS.findall(written) if t[0] >= 0x80)
    return WEIGHTED_MARKER_BYTES + len(written) + groups


def installed_size(name, data):
    """The writer converts the word base only when its data is in source form."""
    if name.lower() == WORD_BASE_NAME and data and data[0] < 0x80:
        return weighted_size(data)
    return len(data)


def rows(table):
    with open(table, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                ident, name, _source = (field.strip() for field in line.split(","))
                yield int(ident), name


def main():
    if len(sys.argv) != 5:
        sys.exit("usage: payload_records.py <payload table> <packed folder> <records out> <store out>")
    table, packed_dir, out, store_out = sys.argv[1:]
    records = bytearray()
    store = bytearray()
    for ident, name in rows(table):
        with open(os.path.join(packed_dir, f"{ident}.z"), "rb") as f:
            stream = f.read()
        installed = installed_size(name, zlib.decompress(stream))
        records += struct.pack(RECORD_FORMAT, ident, len(stream), zlib.adler32(stream), installed)
        store += stream
    # Written only when they change, so that the programs are not linked again
    # for payloads packed again to the same bytes.
    write_if_changed(out, bytes(records))
    write_if_changed(store_out, bytes(store))


if __name__ == "__main__":
    main()
