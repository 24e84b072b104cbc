#!/usr/bin/env python3
"""Packs one payload source into the zlib stream the setup program carries.

Every payload is one complete zlib stream, marked as packed at the best
level, so it starts with the header bytes 0x78 0xDA; the setup program reads
it with zlib's uncompress. The encoder is libdeflate at its level 12, which
packs the payloads about 5 % smaller than zlib's level 9 in seconds (Debian's
libdeflate-dev; the build has no other encoder, so every build packs the same
bytes). A missing or unreadable source is a build error: an empty resource
would only fail later, at install time.
"""
import ctypes
import ctypes.util
import sys
import zlib

LEVEL = 12


def load_libdeflate():
    for name in ("libdeflate.so.0", ctypes.util.find_library("deflate")):
        if not name:
            continue
        try:
            lib = ctypes.CDLL(name)
        except OSError:
            continue
        lib.libdeflate_alloc_compressor.restype = ctypes.c_void_p
        lib.libdeflate_alloc_compressor.argtypes = [ctypes.c_int]
        lib.libdeflate_zlib_compress_bound.restype = ctypes.c_size_t
        lib.libdeflate_zlib_compress_bound.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
        lib.libdeflate_zlib_compress.restype = ctypes.c_size_t
        lib.libdeflate_zlib_compress.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_size_t,
                                                 ctypes.c_void_p, ctypes.c_size_t]
        lib.libdeflate_free_compressor.argtypes = [ctypes.c_void_p]
        return lib
    sys.exit("pack_payload.py: libdeflate is missing (Debian package libdeflate-dev)")


def pack(data):
    lib = load_libdeflate()
    compressor = lib.libdeflate_alloc_compressor(LEVEL)
    if not compressor:
        sys.exit("pack_payload.py: libdeflate has no room for a compressor")
    try:
        bound = lib.libdeflate_zlib_compress_bound(compressor, len(data))
        out = ctypes.create_string_buffer(bound)
        n = lib.libdeflate_zlib_compress(compressor, data, len(data), out, bound)
    finally:
        lib.libdeflate_free_compressor(compressor)
    if n == 0:
        sys.exit("pack_payload.py: libdeflate could not pack the payload")
    return out.raw[:n]


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: pack_payload.py <identifier> <source> <output>")
    ident, source, output = sys.argv[1:]
    try:
        with open(source, "rb") as f:
            data = f.read()
    except OSError as e:
        sys.exit(f"payload {ident}: source file {source} is missing or unreadable ({e.strerror})")
    packed = pack(data)
    # The stream must be what uncompress reads back into the source.
    if packed[:2] != b"\x78\xda" or zlib.decompress(packed) != data:
        sys.exit(f"payload {ident}: the packed stream does not read back as its source")
    with open(output, "wb") as f:
        f.write(packed)


if __name__ == "__main__":
    main()
