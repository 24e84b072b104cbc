// The code-to-cell mapping: the font's worked values and the odd codes that
// must still land on a defined cell, and two properties over every 16-bit code.
#include <gtest/gtest.h>

#include "glyph/glyph_cell.h"

namespace {

struct CellCase {
    uint32_t code;
    const char* what;
    GlyphCell cell;
};

const CellCase kCellCases[] = {
    {0xA1A1, "ideographic space, cell 0", {0, 0, 0}},
    {0xA1A3, "ideographic full stop, cell 2", {0, 32, 0}},
    {0xA3C1, "full-width A, cell 220", {0, 448, 96}},
    {0xA7A1, "Cyrillic capital A, cell 564", {0, 320, 272}},
    {0xB0A1, "first hanzi, cell 658", {0, 288, 320}},
    {0xBDA8, "last cell of strip 0, 1,887", {0, 496, 928}},
    {0xBDA9, "first cell of strip 1, 1,888", {1, 0, 0}},
    {0xD2BB, "cell 3,880", {2, 128, 48}},
    {0xD6D0, "cell 4,277", {2, 336, 240}},
    {0xF7FE, "last GB2312 hanzi, cell 7,425", {3, 16, 880}},
    {0xE946, "special cell 7,456", {3, 0, 896}},
    {0xA9A4, "its own cell 7,457, not the box-drawing row", {3, 16, 896}},
    {0xA8A1, "lead 0xA8 has no row: lands on cell 658", {0, 288, 320}},
    {0xA6A4, "lead 0xA6 reaches the box drawing: cell 473", {0, 400, 224}},
    {0xB0A0, "trail below 0xA1 in the first hanzi row: symbol branch", {0, 48, 704}},
    {0xB000, "lone lead byte 0xB0 with the terminating zero", {0, 48, 704}},
    {0x8140, "outside GB2312, cell row 659", {3, 496, 160}},
    {0xA0A0, "outside GB2312, negative distance", {3, 16, 624}},
    {0xFEFE, "outside GB2312, beyond the last row", {3, 304, 256}},
    {0x1D6D0, "only the low 16 bits count", {2, 336, 240}},
    {0xFFFFA9A4, "only the low 16 bits count, special cell", {3, 16, 896}},
};

TEST(MapGlyphCell, GivesTheFontsCellForEachCase) {
    for (const CellCase& c : kCellCases) {
        GlyphCell cell = MapGlyphCell(c.code);
        EXPECT_EQ(cell.strip, c.cell.strip) << std::hex << c.code << " " << c.what;
        EXPECT_EQ(cell.x, c.cell.x) << std::hex << c.code << " " << c.what;
        EXPECT_EQ(cell.y, c.cell.y) << std::hex << c.code << " " << c.what;
    }
}

// A 16 x 16 blit from any cell must stay inside its strip.
TEST(MapGlyphCell, EveryCodeLandsOnACellInsideTheStrips) {
    for (uint32_t code = 0; code <= 0xFFFF; ++code) {
        GlyphCell cell = MapGlyphCell(code);
        ASSERT_GE(cell.strip, 0) << std::hex << code;
        ASSERT_LT(cell.strip, kGlyphStripCount) << std::hex << code;
        ASSERT_GE(cell.x, 0) << std::hex << code;
        ASSERT_LE(cell.x + kGlyphCellSize, kGlyphStripWidth) << std::hex << code;
        ASSERT_EQ(cell.x % kGlyphCellSize, 0) << std::hex << code;
        ASSERT_GE(cell.y, 0) << std::hex << code;
        ASSERT_LE(cell.y + kGlyphCellSize, kGlyphStripHeight) << std::hex << code;
        ASSERT_EQ(cell.y % kGlyphCellSize, 0) << std::hex << code;
    }
}

// For well-formed codes the cell is the plain row layout of the font: symbol
// rows from lead 0xA1 on, hanzi rows from 0xB0 on, 94 cells a row.
TEST(MapGlyphCell, WellFormedCodesFollowTheRowLayout) {
    for (uint32_t lead = 0xA1; lead <= 0xFE; ++lead) {
        for (uint32_t trail = 0xA1; trail <= 0xFE; ++trail) {
            uint32_t code = lead * 256 + trail;
            if (code == 0xA9A4) continue;   // has a special cell of its own
            int index = lead < 0xB0 ? (lead - 0xA1) * 94 + (trail - 0xA1)
                                    : 658 + (lead - 0xB0) * 94 + (trail - 0xA1);
            int row = index / 32;
            int strip = row / 59 < 3 ? row / 59 : 3;
            GlyphCell cell = MapGlyphCell(code);
            ASSERT_EQ(cell.strip, strip) << std::hex << code;
            ASSERT_EQ(cell.x, 16 * (index % 32)) << std::hex << code;
            ASSERT_EQ(cell.y, 16 * row % 944) << std::hex << code;
        }
    }
}

}  // namespace
