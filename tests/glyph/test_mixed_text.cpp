// Measuring and drawing mixed strings, by pixels on memory DCs.
//
// With the fixture font every cell shows its own index, so a drawn string is
// compared pixel for pixel with a reference made without the code under
// test: the fixture cells painted from their definition and each single byte
// drawn with TextOutA where it belongs (one pixel lower than the glyphs).
// With the real font a drawn glyph must show exactly the bits of its cell.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "glyph_test_support.h"
#include "install/payload.h"

namespace {

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kHighlight = RGB(0, 0, 128);
constexpr int kLeft = 3;
constexpr int kTop = 5;

// One character of a drawn string: a glyph cell of the fixture font, or a
// single byte drawn in the DC's font.
struct Piece {
    int cell;    // -1 for a single byte
    char byte;
};
Piece Glyph(int cell) { return {cell, 0}; }
Piece Byte(char byte) { return {-1, byte}; }

int SingleByteWidth(HDC dc, char byte) {
    SIZE size = {};
    EXPECT_TRUE(GetTextExtentPointA(dc, &byte, 1, &size));
    return size.cx;
}

// Draws the pieces as they should come out at (kLeft, kTop); returns the width.
int DrawReference(Canvas& canvas, const std::vector<Piece>& pieces, COLORREF ink) {
    int pen = kLeft;
    SetBkMode(canvas.dc, TRANSPARENT);
    for (const Piece& piece : pieces) {
        if (piece.cell >= 0) {
            PaintFixtureCell(canvas, pen, kTop, piece.cell, ink);
            pen += 16;
        } else {
            TextOutA(canvas.dc, pen, kTop + 1, &piece.byte, 1);
            pen += SingleByteWidth(canvas.dc, piece.byte);
        }
    }
    return pen - kLeft;
}

// A control's DC: the GUI font, black text on a white background colour.
void PrepareControlDc(Canvas& canvas) {
    SelectObject(canvas.dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(canvas.dc, kBlack);
    SetBkColor(canvas.dc, kWhite);
}

class GlyphMixedText : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = new PayloadModule("font");
        ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
    }
    static void TearDownTestSuite() {
        ReleaseGlyphFont();
        delete module_;
    }
    static PayloadModule* module_;
};
PayloadModule* GlyphMixedText::module_ = nullptr;

struct TextCase {
    const char* what;
    const char* text;
    std::vector<Piece> pieces;
};

// On a control face, unselected: ink black, the rest of each cell the face;
// single bytes without a background box although the DC was left opaque.
TEST_F(GlyphMixedText, DrawsEachCharacterWhereItBelongsAndMeasuresTheSame) {
    // Cells: hanzi 0xLLTT at 658 + (LL - 0xB0) * 94 + (TT - 0xA1), so 下 (CFC2)
    // 3,605, 一 (D2BB) 3,880, 步 (B2BD) 874; the first cells of the strips are
    // 0, 1,888, 3,776 and 5,664; 0xB000 lands on 1,411 and 0xC141 on 2,320.
    const TextCase cases[] = {
        {"glyphs and ASCII", "下一步 Next",
         {Glyph(3605), Glyph(3880), Glyph(874), Byte(' '), Byte('N'), Byte('e'), Byte('x'),
          Byte('t')}},
        {"one glyph from each strip", "啊僵中齄",
         {Glyph(658), Glyph(1888), Glyph(4277), Glyph(7425)}},
        {"ASCII only", "Ab", {Byte('A'), Byte('b')}},
        {"empty", "", {}},
        {"lone lead byte at the end takes the zero as its trail (0xB000)", "A\xB0",
         {Byte('A'), Glyph(1411)}},
        {"a lead byte takes an ASCII trail", "\xC1" "Ax", {Glyph(2320), Byte('x')}},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas drawn(200, 28, kFace);
        Canvas expected(200, 28, kFace);
        PrepareControlDc(drawn);
        PrepareControlDc(expected);
        int width = DrawReference(expected, c.pieces, kBlack);

        SetBkMode(drawn.dc, OPAQUE);
        TextExtent measured = MeasureMixedText(drawn.dc, c.text);
        TextExtent extent = DrawMixedText(drawn.dc, kLeft, kTop, c.text);

        EXPECT_EQ(FirstDifference(drawn, expected), "");
        EXPECT_EQ(measured.width, width);
        EXPECT_EQ(measured.height, 16);
        EXPECT_EQ(extent.width, width);
        EXPECT_EQ(extent.height, 16);
        EXPECT_EQ(GetBkMode(drawn.dc), OPAQUE);
    }
}

TEST_F(GlyphMixedText, NextMeasuresFortyEightPlusItsFiveSingleBytes) {
    Canvas canvas(8, 8, kFace);
    PrepareControlDc(canvas);
    int singles = 0;
    for (char byte : {' ', 'N', 'e', 'x', 't'}) singles += SingleByteWidth(canvas.dc, byte);
    ASSERT_GT(singles, 5);
    EXPECT_EQ(MeasureMixedText(canvas.dc, "下一步 Next").width, 48 + singles);
}

// Glyphs and single bytes alike take the DC's text colour, on any face the
// colour scheme gives: the default face, high-contrast black (ink white on
// black), a highlight, a light ink on a mid face. The rest of each cell stays
// the face, and the DC's colours, brush and background mode come back.
TEST_F(GlyphMixedText, InkTakesTheTextColourOnAnyFace) {
    const struct {
        const char* what;
        COLORREF face, ink;
    } cases[] = {
        {"default", kFace, kBlack},
        {"high contrast black", kBlack, kWhite},
        {"highlight", kHighlight, kWhite},
        {"yellow on teal", RGB(0, 128, 128), RGB(255, 255, 0)},
        {"grey text", kFace, RGB(128, 128, 128)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas drawn(64, 28, c.face);
        Canvas expected(64, 28, c.face);
        for (Canvas* canvas : {&drawn, &expected}) {
            PrepareControlDc(*canvas);
            SetTextColor(canvas->dc, c.ink);
            SetBkColor(canvas->dc, RGB(1, 2, 3));
        }
        HGDIOBJ brush = GetCurrentObject(drawn.dc, OBJ_BRUSH);
        DrawReference(expected, {Glyph(4277), Byte('a'), Glyph(3605)}, c.ink);
        SetBkMode(drawn.dc, OPAQUE);
        DrawMixedText(drawn.dc, kLeft, kTop, "中a下");
        EXPECT_EQ(FirstDifference(drawn, expected), "");
        EXPECT_GT(drawn.CountOtherThan(c.face), 30);
        EXPECT_EQ(GetTextColor(drawn.dc), c.ink);
        EXPECT_EQ(GetBkColor(drawn.dc), RGB(1, 2, 3));
        EXPECT_EQ(GetBkMode(drawn.dc), OPAQUE);
        EXPECT_EQ(GetCurrentObject(drawn.dc, OBJ_BRUSH), brush);
    }
}

// A single byte whose width cannot be measured adds nothing.
TEST_F(GlyphMixedText, UnmeasurableSingleBytesAddNothing) {
    TextExtent extent = MeasureMixedText(nullptr, "中A");
    EXPECT_EQ(extent.width, 16);
    EXPECT_EQ(extent.height, 16);
}

class GlyphMixedTextRealFont : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_instance = nullptr;
        ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
    }
    static void TearDownTestSuite() { ReleaseGlyphFont(); }
};

struct RealGlyphCase {
    const char* text;
    int strip, x, y;   // where the font keeps its cell
};

TEST_F(GlyphMixedTextRealFont, DrawnGlyphsShowTheBitsOfTheirCells) {
    std::unique_ptr<uint8_t[]> font(new uint8_t[kGlyphFontBufferSize]);
    uint32_t length = 0;
    ASSERT_EQ(LoadPayload(110, font.get(), kGlyphFontBufferSize, &length), 1);
    const RealGlyphCase cases[] = {
        {"中", 2, 336, 240},
        {"一", 2, 128, 48},
        {"啊", 0, 288, 320},
        {"齄", 3, 16, 880},
        {"\xE9\x46", 3, 0, 896},
    };
    for (const RealGlyphCase& c : cases) {
        SCOPED_TRACE(c.text);
        Canvas canvas(24, 24, kFace);
        PrepareControlDc(canvas);
        DrawMixedText(canvas.dc, kLeft, kTop, c.text);
        int ink = 0;
        for (int row = 0; row < 16; ++row) {
            for (int column = 0; column < 16; ++column) {
                int px = c.x + column;
                const uint8_t* line = font.get() + c.strip * kGlyphStripBytes + (c.y + row) * 64;
                bool isInk = ((line[px / 8] >> (7 - px % 8)) & 1) == 0;
                ink += isInk;
                ASSERT_EQ(canvas.Pixel(kLeft + column, kTop + row), isInk ? kBlack : kFace)
                    << "row " << row << " column " << column;
            }
        }
        EXPECT_GT(ink, 0);
        EXPECT_EQ(canvas.CountOtherThan(kFace), ink);   // nothing outside the cell
    }
}

// The font's special cell for 0xA9A4: a line two pixels thick across the
// whole cell in pixel rows 9 and 10, nothing else.
TEST_F(GlyphMixedTextRealFont, HeavyLineCellIsTwoFullRows) {
    Canvas canvas(24, 24, kFace);
    PrepareControlDc(canvas);
    DrawMixedText(canvas.dc, kLeft, kTop, "\xA9\xA4");
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            bool line = row == 9 || row == 10;
            ASSERT_EQ(canvas.Pixel(kLeft + column, kTop + row), line ? kBlack : kFace)
                << "row " << row << " column " << column;
        }
    }
}

}  // namespace
