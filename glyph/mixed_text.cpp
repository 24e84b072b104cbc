// Measuring and drawing mixed strings: GB2312 double-byte characters among
// single-byte ASCII in one zero-terminated byte string, as every caption of
// the program is written.
//
// A double-byte character is a glyph blitted from the glyph font, so it reads
// correctly on a Windows without Chinese fonts, in a square cell whose side
// follows the screen's DPI (glyph_scale.h): the 16 x 16 glyph at 96 DPI, the
// 24 x 24 caption glyph from 150 %, either multiplied by a whole factor
// above. A character without a 24 x 24 glyph (a folder name the user typed)
// gets its 16 x 16 glyph, multiplied by the same factor, in the middle of
// the cell. A single byte is
// drawn in whatever font the DC holds. Both operations walk the string the
// same way and measure each single byte on its own, so the width a caption is
// measured at is exactly the width it is drawn at.
#include <windows.h>

#include "glyph/caption_glyphs.h"
#include "glyph/glyph.h"
#include "glyph/glyph_scale.h"

namespace {

// In a 16-pixel cell single bytes sit one pixel lower than glyphs, so that
// the two line up on the baseline of a control's font: the font's baseline
// lies three quarters down the cell. A bigger cell keeps that proportion
// with the font of its DPI.
constexpr int kSingleByteDropAt16 = 1;

int SingleByteDrop(HDC dc, int cell) {
    if (cell == kSmallGlyphSize) return kSingleByteDropAt16;
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(dc, &metrics)) return 0;
    int drop = cell * 3 / 4 - metrics.tmAscent;
    return drop > 0 ? drop : 0;
}

bool IsLeadByte(unsigned char byte) {
    return (byte & 0x80) != 0;
}

// The advance of one single byte in the DC's font; 0 when it cannot be measured.
int SingleByteAdvance(HDC dc, const char* byte) {
    SIZE size;
    return GetTextExtentPointA(dc, byte, 1, &size) ? size.cx : 0;
}

// Where the glyph cell is ink (its 0 bits, which arrive as the DC's text
// colour, black) the brush is painted; where it is background (1 bits, the
// background colour, white) the destination stays: ((D ^ P) & S) ^ P. One
// blit paints ink of any colour on any face, on every Windows from 95 on.
constexpr DWORD kBrushWhereInk = 0x00B8074A;

// One square glyph of `from` pixels at (sx, sy) of `source`, drawn `size`
// pixels wide at (x, y); a whole multiple repeats each pixel, so strokes
// stay sharp.
void BlitSquare(HDC dc, int x, int y, int size, HDC source, int sx, int sy, int from) {
    if (size == from) {
        BitBlt(dc, x, y, size, size, source, sx, sy, kBrushWhereInk);
    } else {
        StretchBlt(dc, x, y, size, size, source, sx, sy, from, from, kBrushWhereInk);
    }
}

// Blits the glyph of `code` into the cell whose top-left corner is (x, y) in
// the colour of the DC's brush, and gives the DC back its text colour `ink`.
void BlitGlyph(HDC dc, int x, int y, unsigned code, COLORREF ink) {
    const GlyphScale scale = CurrentGlyphScale();
    SetTextColor(dc, RGB(0, 0, 0));
    HDC large = nullptr;
    int lx = 0;
    int ly = 0;
    if (scale.source == kLargeGlyphSize && FindCaptionGlyph(code, &large, &lx, &ly)) {
        BlitSquare(dc, x, y, kLargeGlyphSize * scale.factor, large, lx, ly, kLargeGlyphSize);
    } else {
        GlyphCell cell = MapGlyphCell(code);
        const int size = kSmallGlyphSize * scale.factor;
        const int inset = (GlyphCellPixels() - size) / 2;
        BlitSquare(dc, x + inset, y + inset, size, GlyphDeviceContext(cell.strip), cell.x, cell.y,
                   kSmallGlyphSize);
    }
    SetTextColor(dc, ink);
}

// Walks a mixed string, adding up the advances; draws along the way when
// `draw` is set. A lead byte always takes the next byte as its trail, even a
// terminating zero, after which the walk ends.
int WalkMixedText(HDC dc, int x, int y, const char* text, bool draw, COLORREF ink) {
    int length = lstrlenA(text);
    int width = 0;
    const int advance = GlyphCellPixels();
    const int drop = draw ? SingleByteDrop(dc, advance) : 0;
    for (int i = 0; i < length;) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(byte)) {
            if (draw) {
                unsigned trail = static_cast<unsigned char>(text[i + 1]);
                BlitGlyph(dc, x + width, y, byte * 256u + trail, ink);
            }
            width += advance;
            i += 2;
        } else {
            if (draw) TextOutA(dc, x + width, y + drop, text + i, 1);
            width += SingleByteAdvance(dc, text + i);
            i += 1;
        }
    }
    return width;
}

}  // namespace

TextExtent MeasureMixedText(HDC dc, const char* text) {
    return {WalkMixedText(dc, 0, 0, text, false, 0), GlyphCellPixels()};
}

TextExtent DrawMixedText(HDC dc, int x, int y, const char* text) {
    // Glyph cells and single bytes must not paint their backgrounds over the
    // control face; the caller's mode comes back afterwards.
    int previousMode = SetBkMode(dc, TRANSPARENT);
    // Glyphs take the ink of the single bytes, the DC's text colour, through
    // a brush; the white background colour makes a cell's background bits
    // all ones, so that they leave the face alone whatever its colour.
    COLORREF ink = GetTextColor(dc);
    HBRUSH brush = CreateSolidBrush(ink);
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    COLORREF previousBackground = SetBkColor(dc, RGB(255, 255, 255));
    int width = WalkMixedText(dc, x, y, text, true, ink);
    SetBkColor(dc, previousBackground);
    SelectObject(dc, previousBrush);
    DeleteObject(brush);
    if (previousMode) SetBkMode(dc, previousMode);
    return {width, GlyphCellPixels()};
}
