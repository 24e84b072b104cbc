// The code-to-cell mapping of the glyph font. Plain C++, no Win32, so that it
// can also be built and checked natively.
//
// The font is four strips of 512 x 944 one-bit pixels (32 x 59 cells of
// 16 x 16), 241,664 bytes in all, rows top first, most significant bit
// leftmost, 0 bits ink.
#pragma once
#include <cstdint>

constexpr int kGlyphStripCount = 4;
constexpr int kGlyphStripWidth = 512;
constexpr int kGlyphStripHeight = 944;
constexpr int kGlyphStripBytes = kGlyphStripWidth / 8 * kGlyphStripHeight;   // 60,416
constexpr int kGlyphFontBytes = kGlyphStripBytes * kGlyphStripCount;         // 241,664
constexpr int kGlyphCellSize = 16;

struct GlyphCell {
    int strip;   // 0..3
    int x;       // 0..496, a multiple of 16
    int y;       // 0..928, a multiple of 16
};

// The cell of a two-byte code (lead byte x 256 + trail byte); only the low 16
// bits count. Every code maps inside the strips.
GlyphCell MapGlyphCell(uint32_t code);
