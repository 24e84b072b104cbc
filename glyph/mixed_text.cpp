// Measuring and drawing mixed strings: GB2312 double-byte characters among
// single-byte ASCII in one zero-terminated byte string, as every caption of
// the program is written.
//
// A double-byte character is a 16 x 16 glyph blitted from the glyph font, so
// it reads correctly on a Windows without Chinese fonts; a single byte is
// drawn in whatever font the DC holds. Both operations walk the string the
// same way and measure each single byte on its own, so the width a caption is
// measured at is exactly the width it is drawn at.
#include <windows.h>

#include "glyph/glyph.h"

namespace {

constexpr int kGlyphAdvance = kGlyphCellSize;
constexpr int kTextHeight = kGlyphCellSize;
// Single bytes sit one pixel lower than glyphs, so that the two line up on
// the baseline of a control's font.
constexpr int kSingleByteDrop = 1;

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

// Blits the glyph of `code` with its top-left corner at (x, y) in the colour
// of the DC's brush, and gives the DC back its text colour `ink`.
void BlitGlyph(HDC dc, int x, int y, unsigned code, COLORREF ink) {
    GlyphCell cell = MapGlyphCell(code);
    SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, kGlyphCellSize, kGlyphCellSize, GlyphDeviceContext(cell.strip), cell.x, cell.y,
           kBrushWhereInk);
    SetTextColor(dc, ink);
}

// Walks a mixed string, adding up the advances; draws along the way when
// `draw` is set. A lead byte always takes the next byte as its trail, even a
// terminating zero, after which the walk ends.
int WalkMixedText(HDC dc, int x, int y, const char* text, bool draw, COLORREF ink) {
    int length = lstrlenA(text);
    int width = 0;
    for (int i = 0; i < length;) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(byte)) {
            if (draw) {
                unsigned trail = static_cast<unsigned char>(text[i + 1]);
                BlitGlyph(dc, x + width, y, byte * 256u + trail, ink);
            }
            width += kGlyphAdvance;
            i += 2;
        } else {
            int advance = SingleByteAdvance(dc, text + i);
            if (draw) TextOutA(dc, x + width, y + kSingleByteDrop, text + i, 1);
            width += advance;
            i += 1;
        }
    }
    return width;
}

}  // namespace

TextExtent MeasureMixedText(HDC dc, const char* text) {
    return {WalkMixedText(dc, 0, 0, text, false, 0), kTextHeight};
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
    return {width, kTextHeight};
}
