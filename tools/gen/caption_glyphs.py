#!/usr/bin/env python3
"""Makes the 24 x 24 caption glyphs (payload 254) from Noto Sans CJK SC.

At 150 % scaling and above the program draws its Chinese from these glyphs
instead of stretching the 16 x 16 font. Only the characters the program can
show are in it: every GB2312 character in a string literal of the given C++
sources (captions, messages, language names) and in the given texts (the
Chinese agreement). A character the program meets that is not here (a folder
name the user typed) is drawn from the 16 x 16 font.

Layout (little-endian):
- 2 bytes: N, the number of glyphs;
- 2N bytes: their GB2312 codes, lead byte then trail byte, in ascending order;
- one bitmap of 768 one-bit pixels across (32 cells of 24, 96 bytes a row)
  and 24 * ceil(N / 32) rows, top first, most significant bit leftmost,
  0 bits ink: glyph i lies in cell row i / 32, column i mod 32.

Each glyph is rendered one bit per pixel by FreeType (the system's
libfreetype, through ctypes: the generators use the standard library only)
at 24 pixels to the em, its baseline on pixel row 21, which puts the em box
of the ideographs on rows 0 to 23. The font is the "Noto Sans CJK SC" face of
Debian's fonts-noto-cjk, under the SIL Open Font License 1.1; the rendered
bitmaps may travel in the program.

Usage: caption_glyphs.py <output> <font.ttc> <source or text>...
"""
import ctypes
import ctypes.util
import re
import struct
import sys
from ctypes import POINTER, Structure, c_char_p, c_int, c_long, c_short, c_ubyte, c_uint, c_ushort, c_void_p

from common import fail, write_file

CELL = 24
BASELINE = 21
CELLS_ACROSS = 32
ROW_BYTES = CELL * CELLS_ACROSS // 8     # 96
FACE_NAME = b"Noto Sans CJK SC"
MAX_GLYPHS = 2048


class FT_Generic(Structure):
    _fields_ = [("data", c_void_p), ("finalizer", c_void_p)]


class FT_BBox(Structure):
    _fields_ = [(n, c_long) for n in ("xMin", "yMin", "xMax", "yMax")]


class FT_Bitmap(Structure):
    _fields_ = [("rows", c_uint), ("width", c_uint), ("pitch", c_int), ("buffer", POINTER(c_ubyte)),
                ("num_grays", c_ushort), ("pixel_mode", c_ubyte), ("palette_mode", c_ubyte),
                ("palette", c_void_p)]


class FT_Vector(Structure):
    _fields_ = [("x", c_long), ("y", c_long)]


class FT_GlyphSlotRec(Structure):
    _fields_ = [("library", c_void_p), ("face", c_void_p), ("next", c_void_p), ("glyph_index", c_uint),
                ("generic", FT_Generic), ("metrics", c_long * 8), ("linearHoriAdvance", c_long),
                ("linearVertAdvance", c_long), ("advance", FT_Vector), ("format", c_uint),
                ("bitmap", FT_Bitmap), ("bitmap_left", c_int), ("bitmap_top", c_int)]


class FT_FaceRec(Structure):
    _fields_ = [("num_faces", c_long), ("face_index", c_long), ("face_flags", c_long),
                ("style_flags", c_long), ("num_glyphs", c_long), ("family_name", c_char_p),
                ("style_name", c_char_p), ("num_fixed_sizes", c_int), ("available_sizes", c_void_p),
                ("num_charmaps", c_int), ("charmaps", c_void_p), ("generic", FT_Generic),
                ("bbox", FT_BBox), ("units_per_EM", c_ushort), ("ascender", c_short),
                ("descender", c_short), ("height", c_short), ("max_advance_width", c_short),
                ("max_advance_height", c_short), ("underline_position", c_short),
                ("underline_thickness", c_short), ("glyph", POINTER(FT_GlyphSlotRec))]


FT_LOAD_RENDER = 0x4
FT_LOAD_MONOCHROME = 0x1000
FT_LOAD_TARGET_MONO = 2 << 16
FT_PIXEL_MODE_MONO = 1


class Renderer:
    """One face of a font collection at 24 pixels to the em, rendered mono."""

    def __init__(self, path):
        name = ctypes.util.find_library("freetype")
        if not name:
            fail("libfreetype is not installed")
        self.ft = ctypes.CDLL(name)
        self.library = c_void_p()
        if self.ft.FT_Init_FreeType(ctypes.byref(self.library)):
            fail("FreeType does not start")
        self.face = None
        for index in range(16):
            face = POINTER(FT_FaceRec)()
            if self.ft.FT_New_Face(self.library, path.encode(), c_long(index), ctypes.byref(face)):
                break
            if face.contents.family_name == FACE_NAME:
                self.face = face
                break
            self.ft.FT_Done_Face(face)
        if self.face is None:
            fail(f"no face {FACE_NAME.decode()} in {path}")
        self.ft.FT_Set_Pixel_Sizes(self.face, 0, CELL)

    def cell(self, ch):
        """24 rows of ints, bit 23 the leftmost pixel, set = ink."""
        if self.ft.FT_Load_Char(self.face, ord(ch), FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO):
            fail(f"cannot render U+{ord(ch):04X}")
        slot = self.face.contents.glyph.contents
        bitmap = slot.bitmap
        if bitmap.rows and bitmap.pixel_mode != FT_PIXEL_MODE_MONO:
            fail(f"U+{ord(ch):04X} did not render one bit per pixel")
        rows = [0] * CELL
        for r in range(bitmap.rows):
            y = BASELINE - slot.bitmap_top + r
            for c in range(bitmap.width):
                if bitmap.buffer[r * bitmap.pitch + c // 8] & (0x80 >> (c % 8)):
                    x = slot.bitmap_left + c
                    if 0 <= y < CELL and 0 <= x < CELL:
                        rows[y] |= 1 << (CELL - 1 - x)
        return rows


STRING_LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def shown_text(path):
    """The text of a file the program shows: a C++ source's string literals, or a whole text."""
    text = open(path, encoding="utf-8").read()
    if path.endswith((".cpp", ".h")):
        return "".join(STRING_LITERAL.findall(text))
    return text


def gb2312_code(ch):
    """The two-byte GB2312 code of a character, or None for single bytes and others."""
    try:
        encoded = ch.encode("gb2312")
    except UnicodeEncodeError:
        return None
    return encoded[0] * 256 + encoded[1] if len(encoded) == 2 else None


def main():
    if len(sys.argv) < 4:
        fail("usage: caption_glyphs.py <output> <font.ttc> <source or text>...")
    output, font_path, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    codes = {}
    for path in sources:
        for ch in shown_text(path):
            code = gb2312_code(ch)
            # The ideographic space has no ink: the 16 x 16 font's blank cell serves.
            if code is not None and not ch.isspace():
                codes[code] = ch
    if not codes or len(codes) > MAX_GLYPHS:
        fail(f"{len(codes)} characters; expected 1 to {MAX_GLYPHS}")
    renderer = Renderer(font_path)
    order = sorted(codes)
    cell_rows = -(-len(order) // CELLS_ACROSS)
    bitmap = bytearray(b"\xff" * (ROW_BYTES * CELL * cell_rows))
    for i, code in enumerate(order):
        top = (i // CELLS_ACROSS) * CELL
        left_byte = (i % CELLS_ACROSS) * CELL // 8
        for dy, bits in enumerate(renderer.cell(codes[code])):
            o = (top + dy) * ROW_BYTES + left_byte
            bitmap[o:o + 3] = (~bits & 0xFFFFFF).to_bytes(3, "big")
    data = struct.pack("<H", len(order)) + b"".join(struct.pack(">H", c) for c in order) + bytes(bitmap)
    write_file(output, data)


if __name__ == "__main__":
    main()
