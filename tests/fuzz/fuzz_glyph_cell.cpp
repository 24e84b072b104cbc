// Fuzz target of the code-to-cell mapping on whole 32-bit codes: the cell is
// inside the strips, only the low 16 bits count, and a code of the font's rows
// lands on its own cell. Traps on any mismatch.
#include <cstdio>
#include <cstring>

#include "glyph/glyph_cell.h"
#include "glyph_font_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t code = 0;
    if (size < sizeof code) return 0;
    memcpy(&code, data, sizeof code);

    GlyphCell cell = MapGlyphCell(code);
    GlyphCell low = MapGlyphCell(code & 0xFFFF);
    int expected = ExpectedCellOf(code);
    bool ok = CellIsInsideTheStrips(cell) && CellNumber(cell) == CellNumber(low) &&
              (expected < 0 || CellNumber(cell) == expected);
    if (!ok) {
        fprintf(stderr, "code 0x%08X: strip %d x %d y %d\n", code, cell.strip, cell.x, cell.y);
        __builtin_trap();
    }
    return 0;
}
