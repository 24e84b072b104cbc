// Exhaustive check of the code-to-cell mapping over all 65,536 codes: every
// cell inside the strips, the bits above the low 16 ignored, a few odd codes
// on their known cells, and every code of the font's rows on its own cell,
// no two codes sharing one. Exits 1 with the first failures listed.
#include <cstdio>
#include <vector>

#include "glyph/glyph_cell.h"
#include "glyph_font_layout.h"

namespace {

int g_failures = 0;

void Report(uint32_t code, const char* what, int got, int expected) {
    if (++g_failures <= 20) {
        fprintf(stderr, "code 0x%04X: %s: got %d, expected %d\n", code, what, got, expected);
    }
}

bool SameCell(const GlyphCell& a, const GlyphCell& b) {
    return a.strip == b.strip && a.x == b.x && a.y == b.y;
}

struct KnownCell {
    uint32_t code;
    GlyphCell cell;
};

// Codes outside the font's rows, or in them with a special cell, whose cells
// are fixed: the caption painter relies on them.
const KnownCell kKnownCells[] = {
    {0xA8A1, {0, 288, 320}},    // no row of its own: the cell of 0xB0A1, 658
    {0xA6A4, {0, 400, 224}},    // reaches the box-drawing row, cell 473
    {0xA9A4, {3, 16, 896}},     // its special cell, 7,457
    {0xE946, {3, 0, 896}},      // its special cell, 7,456
    {0xB0A0, {0, 48, 704}},     // trail below the first hanzi
    {0x8140, {3, 496, 160}},
    {0xA0A0, {3, 16, 624}},
    {0xFEFE, {3, 304, 256}},
};

// Bit patterns laid over the high 16 bits; none may change the cell.
const uint32_t kHighBits[] = {0x00010000, 0x5A5A0000, 0x80000000, 0xFFFF0000};

}  // namespace

int main() {
    std::vector<uint32_t> codeOfCell(kFontCellCount, 0);
    int ownCells = 0;
    int boxDrawingElsewhere = 0;

    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        GlyphCell cell = MapGlyphCell(code);
        if (!CellIsInsideTheStrips(cell)) {
            if (++g_failures <= 20) {
                fprintf(stderr, "code 0x%04X: strip %d x %d y %d is outside the strips or off the grid\n",
                        code, cell.strip, cell.x, cell.y);
            }
            continue;
        }
        for (uint32_t high : kHighBits) {
            if (!SameCell(MapGlyphCell(code | high), cell)) {
                Report(code | high, "high bits change the cell", CellNumber(MapGlyphCell(code | high)),
                       CellNumber(cell));
            }
        }

        int got = CellNumber(cell);
        int expected = ExpectedCellOf(code);
        if (expected < 0) {
            int font = FontCellOf(code);
            if (font >= 0 && got != font) ++boxDrawingElsewhere;
            continue;
        }
        if (got != expected) {
            Report(code, "not the font's cell", got, expected);
        } else if (codeOfCell[got] != 0) {
            Report(code, "cell already taken by code", got, static_cast<int>(codeOfCell[got]));
        } else {
            codeOfCell[got] = code;
            ++ownCells;
        }
    }
    // Guards the layout model itself: six symbol rows and 72 hanzi rows of 94
    // codes, and the two codes with special cells.
    constexpr int kExpectedOwnCells = (6 + 72) * kCellsPerFontRow + 2;
    if (ownCells != kExpectedOwnCells) Report(0, "codes on their own cells", ownCells,
                                              kExpectedOwnCells);

    for (const KnownCell& known : kKnownCells) {
        GlyphCell cell = MapGlyphCell(known.code);
        if (!SameCell(cell, known.cell)) Report(known.code, "known cell", CellNumber(cell),
                                                CellNumber(known.cell));
    }

    printf("glyph cells: 65536 codes checked, %d font codes on their own cells, %zu known cells\n",
           ownCells, sizeof kKnownCells / sizeof kKnownCells[0]);
    printf("glyph cells: %d codes of the box-drawing lead reach other cells\n", boxDrawingElsewhere);
    if (g_failures > 0) {
        printf("glyph cells: FAILED, %d failures\n", g_failures);
        return 1;
    }
    printf("glyph cells: OK\n");
    return 0;
}
