#!/usr/bin/env python3
"""Writes a payload store: the zlib streams of the payloads one after the
other in one resource, and the records that say which payload each stream
is (tools/payload_records.py has their format), in the store's order. The
program finds a payload by walking the records and adding up the stored
sizes before it, so the records and the store always go together.

The setup program's store comes from payload_records.py. This writer makes
the stores of the test and benchmark programs, each with the payloads it
embeds, as resource script, store and records in one folder. Each argument
names one stream:

  <id>            the product's packed stream <packed>/<id>.z with the
                  build's record of it;
  <id>@<file>     other bytes under the build's record of payload <id>:
                  a damaged copy that the check must find out;
  <id>=<file>     a stream of its own with a record made from it (a fixture).

usage: payload_store.py <out folder> <packed folder> <stream>...
"""
import os
import struct
import sys
import zlib

RECORD_FORMAT = "<HxxIII"
RECORD_BYTES = struct.calcsize(RECORD_FORMAT)
# The resource names; install/payload.cpp looks them up.
STORE_NAME = "PAYLOADS"
RECORDS_NAME = "PAYLOADRECORDS"


def own_record(ident, stream):
    """A fixture's record: its size and Adler-32, and what it inflates to
    (nothing when it does not inflate)."""
    try:
        installed = len(zlib.decompress(stream))
    except zlib.error:
        installed = 0
    return struct.pack(RECORD_FORMAT, ident, len(stream), zlib.adler32(stream), installed)


def build_records(packed_dir):
    """{identifier: record} of the product's payloads as the build wrote them."""
    with open(os.path.join(packed_dir, "records.bin"), "rb") as f:
        data = f.read()
    rows = (data[o:o + RECORD_BYTES] for o in range(0, len(data), RECORD_BYTES))
    return {struct.unpack(RECORD_FORMAT, row)[0]: row for row in rows}


def write_if_changed(path, data):
    """Written only when it changes, so that programs are not linked again
    for the same bytes."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def write_store(out, entries):
    """entries: (record, stream bytes) in store order. Writes payloads.bin,
    records.bin and payloads.rc into folder out."""
    os.makedirs(out, exist_ok=True)
    store = os.path.join(out, "payloads.bin")
    records = os.path.join(out, "records.bin")
    write_if_changed(store, b"".join(stream for _, stream in entries))
    write_if_changed(records, b"".join(record for record, _ in entries))
    write_if_changed(os.path.join(out, "payloads.rc"),
                     f'{STORE_NAME} RCDATA "{store}"\n{RECORDS_NAME} RCDATA "{records}"\n'.encode())


def fixture_store(out, streams):
    """A store of fixtures only: {identifier: stream bytes}, each with its own record."""
    write_store(out, [(own_record(ident, stream), stream) for ident, stream in streams.items()])


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: payload_store.py <out folder> <packed folder> <stream>...")
    out, packed_dir = sys.argv[1:3]
    built = build_records(packed_dir)
    entries = []
    for arg in sys.argv[3:]:
        for mark in "=@":
            if mark in arg:
                ident, path = arg.split(mark, 1)
                break
        else:
            ident, path, mark = arg, os.path.join(packed_dir, f"{arg}.z"), "@"
        with open(path, "rb") as f:
            stream = f.read()
        record = built[int(ident)] if mark == "@" else own_record(int(ident), stream)
        if struct.unpack(RECORD_FORMAT, record)[1] != len(stream):
            sys.exit(f"{path}: {len(stream)} bytes, the build's record of payload {ident} says otherwise")
        entries.append((record, stream))
    write_store(out, entries)


if __name__ == "__main__":
    main()
