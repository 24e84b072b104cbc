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

// Blits the glyph of `code` with its top-left corner at (x, y).
void BlitGlyph(HDC dc, int x, int y, unsigned code, DWORD rasterOperation) {
    GlyphCell cell = MapGlyphCell(code);
    BitBlt(dc, x, y, kGlyphCellSize, kGlyphCellSize, GlyphDeviceContext(cell.strip), cell.x, cell.y,
           rasterOperation);
}

// Walks a mixed string, adding up the advances; draws along the way when
// `draw` is set. A lead byte always takes the next byte as its trail, even a
// terminating zero, after which the walk ends.
int WalkMixedText(HDC dc, int x, int y, const char* text, bool draw, DWORD rasterOperation) {
    int length = lstrlenA(text);
    int width = 0;
    for (int i = 0; i < length;) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(byte)) {
            if (draw) {
                unsigned trail = static_cast<unsigned char>(text[i + 1]);
                BlitGlyph(dc, x + width, y, byte * 256u + trail, rasterOperation);
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

TextExtent DrawMixedText(HDC dc, int x, int y, const char* text, int selected) {
    // Glyph cells and single bytes must not paint their backgrounds over the
    // control face; the caller's mode comes back afterwards.
    int previousMode = SetBkMode(dc, TRANSPARENT);
    // On a highlight the glyph's background (1 bits, the DC's background
    // colour) is ORed onto the fill, elsewhere ANDed onto the face.
    DWORD rasterOperation = selected ? SRCPAINT : SRCAND;
    int width = WalkMixedText(dc, x, y, text, true, rasterOperation);
    if (previousMode) SetBkMode(dc, previousMode);
    return {width, kTextHeight};
}
