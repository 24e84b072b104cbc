// The size glyph cells are drawn at, chosen once at start-up from the
// screen's DPI, so that the Chinese of every caption grows with the dialog
// font instead of staying 16 pixels beside Latin text twice its size.
//
// A cell is drawn from one of two sources: the 16 x 16 font, or the 24 x 24
// glyphs of the captions' characters, each multiplied by a whole factor,
// which keeps every stroke one crisp block of pixels.
#pragma once

constexpr int kBaseDpi = 96;               // the DPI the 16-pixel cell is made for
constexpr int kSmallGlyphSize = 16;        // the 16 x 16 font
constexpr int kLargeGlyphSize = 24;        // the 24 x 24 caption glyphs

struct GlyphScale {
    int source;   // kSmallGlyphSize or kLargeGlyphSize
    int factor;   // 1 or more: each source pixel becomes factor x factor
};

// The largest cell, a whole multiple of 16 or of 24, that is not bigger than
// 16 pixels scaled to `dpi`; never below 16 x 1. Of two equal cells the
// 24-pixel source wins (it has the finer strokes). Without `largeGlyphs`
// only multiples of 16 count. Plain C++, checked natively.
GlyphScale GlyphScaleForDpi(int dpi, bool largeGlyphs = true);

// Reads the screen's DPI (LOGPIXELSY, which every Windows answers) and keeps
// the scale for the rest of the run. A program that has only the 16-pixel
// font, or could not load the 24-pixel glyphs, passes false.
void ChooseGlyphScale(bool largeGlyphs = true);
// The scale kept by ChooseGlyphScale; 16 x 1 before it ran.
GlyphScale CurrentGlyphScale();
// The side of a glyph cell on the screen, in pixels.
int GlyphCellPixels();
// A length laid out for the 16-pixel cell, in pixels of the current cell
// (rounded down; unchanged at 16).
int ScaleToGlyphCell(int pixelsAt16);
