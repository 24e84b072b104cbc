#!/usr/bin/env python3
"""Makes the glyph font (payload 110, also installed as "ChnBmp.bin") from GNU Unifont.

Layout: 241,664 bytes, four strips of 512 x 944
one-bit pixels, one after another; rows top first, 64 bytes a row, the most
significant bit the leftmost pixel, 0 = ink and 1 = background. Cell g lies in
cell row r = g / 32, column g mod 32; strip r / 59, top-left pixel
(16 * column, 16 * (r mod 59)).

Contents, by cell:
- 0 to 657, seven symbol rows of 94: rows 1 to 5 and 7 hold the characters of
  lead bytes 0xA1 to 0xA5 and 0xA7, row 6 holds the box drawing of lead byte 0xA9;
- 658 to 7,425, the 72 hanzi rows of lead bytes 0xB0 to 0xF7;
- 7,456, the glyph of code 0xE946;
- 7,457, a line two pixels thick across the whole cell in pixel rows 9 and 10.

Each GB2312 code is turned into Unicode with Python's "gb2312" codec. Codes the
codec leaves undefined stay empty (all background): so do 0xD7FA to 0xD7FE and
the unassigned places of the symbol rows. 0xE946 is no GB2312 character at all:
it is GBK's place for U+9555 (the hanzi "rong" of "Zhu Rongji", missing from
GB2312), so it is decoded with the "gbk" codec, GB2312's superset.

Unifont draws some characters 8 pixels wide. Such a glyph is placed in the
middle of its 16-pixel cell (4 columns of background on each side), except for
the line-drawing characters (the box drawing of U+2500 to U+257F and the dashes
U+2014 and U+2015): there every row whose ink touches the glyph's left or right
edge is continued to the cell's edge, so that lines join across neighbouring
cells as they do in a 16-pixel font.

Usage: glyph_font.py <output> [<unifont.hex>]
"""
import sys

from common import UNIFONT_HEX, fail, load_unifont, write_file

STRIP_WIDTH, STRIP_HEIGHT = 512, 944
ROW_BYTES = STRIP_WIDTH // 8
STRIP_BYTES = ROW_BYTES * STRIP_HEIGHT          # 60,416
FONT_BYTES = 4 * STRIP_BYTES                    # 241,664
CELLS_ACROSS, CELL_ROWS_PER_STRIP = 32, 59

SYMBOL_ROW_LEADS = {0xA1: 1, 0xA2: 2, 0xA3: 3, 0xA4: 4, 0xA5: 5, 0xA9: 6, 0xA7: 7}
CELL_E946, CELL_LINE = 7456, 7457


def is_line_drawing(cp):
    return 0x2500 <= cp <= 0x257F or cp in (0x2014, 0x2015)


def cell_rows(cp, glyphs):
    """The 16 rows of a 16 x 16 cell (ints, bit 15 = leftmost pixel, set = ink)."""
    glyph = glyphs.get(cp)
    if glyph is None:
        return [0] * 16
    width, rows = glyph
    if width == 16:
        return list(rows)
    out = []
    for bits in rows:
        wide = bits << 4
        if is_line_drawing(cp):
            if bits & 0x80:
                wide |= 0xF000
            if bits & 0x01:
                wide |= 0x000F
        out.append(wide)
    return out


def layout():
    """[(cell, codepoint)] of every cell that holds a character."""
    cells = []
    for lead, row in SYMBOL_ROW_LEADS.items():
        for trail in range(0xA1, 0xFF):
            cell = (row - 1) * 94 + (trail - 0xA1)
            try:
                ch = bytes((lead, trail)).decode("gb2312")
            except UnicodeDecodeError:
                continue
            cells.append((cell, ord(ch)))
    for lead in range(0xB0, 0xF8):
        for trail in range(0xA1, 0xFF):
            cell = 658 + (lead - 0xB0) * 94 + (trail - 0xA1)
            try:
                ch = bytes((lead, trail)).decode("gb2312")
            except UnicodeDecodeError:
                continue
            cells.append((cell, ord(ch)))
    cells.append((CELL_E946, ord(b"\xe9\x46".decode("gbk"))))
    return cells


def put_cell(font, cell, rows):
    r = cell // CELLS_ACROSS
    column = cell % CELLS_ACROSS
    strip = r // CELL_ROWS_PER_STRIP
    y = 16 * (r % CELL_ROWS_PER_STRIP)
    for dy, bits in enumerate(rows):
        o = strip * STRIP_BYTES + (y + dy) * ROW_BYTES + 2 * column
        ink = bits & 0xFFFF
        font[o] = ~(ink >> 8) & 0xFF
        font[o + 1] = ~ink & 0xFF


def main():
    if len(sys.argv) not in (2, 3):
        fail("usage: glyph_font.py <output> [<unifont.hex>]")
    hex_path = sys.argv[2] if len(sys.argv) == 3 else UNIFONT_HEX
    cells = layout()
    glyphs = load_unifont({cp for _, cp in cells}, hex_path)
    missing = [cp for _, cp in cells if cp not in glyphs]
    if len(missing) > 16:
        fail(f"{len(missing)} characters missing from {hex_path}; is it GNU Unifont?")
    font = bytearray(b"\xff" * FONT_BYTES)
    for cell, cp in cells:
        put_cell(font, cell, cell_rows(cp, glyphs))
    line = [0] * 16
    line[9] = line[10] = 0xFFFF
    put_cell(font, CELL_LINE, line)
    assert len(font) == FONT_BYTES
    write_file(sys.argv[1], bytes(font))


if __name__ == "__main__":
    main()
