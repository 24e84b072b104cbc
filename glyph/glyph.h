// Chinese glyph rendering: the program's own 16 x 16 GB2312 glyph font, held
// in four memory device contexts for the whole run, and the measuring and
// drawing of mixed strings (GB2312 double-byte characters among single-byte
// ASCII). This is what lets every caption read correctly on a Windows
// without Chinese support.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "glyph/glyph_cell.h"

// Where a double-byte character's glyph is: its strip and the top-left pixel
// of its 16 x 16 cell in that strip. MapGlyphCell lives in glyph_cell.h.

enum GlyphFontOutcome {
    kGlyphFontLoaded,
    kGlyphFontNoMemory,
    kGlyphFontInflateFailed,
    kGlyphFontDeviceFailed,
};

// Inflates payload 110 and makes the four strips, each selected into its own
// memory DC. What was made stays recorded whatever the outcome. A font
// loaded earlier is released first.
GlyphFontOutcome LoadGlyphFont();
// Makes the four strips from the font's bytes (the layout of payload 110 and
// of the installed ChnBmp.bin), as LoadGlyphFont does after inflating. Fewer
// bytes than a whole font count as kGlyphFontInflateFailed, since such bytes
// are no font. A font loaded earlier is released first.
GlyphFontOutcome LoadGlyphFontBytes(const uint8_t* bytes, size_t size);
// Frees whatever LoadGlyphFont made; safe after any outcome and twice.
void ReleaseGlyphFont();
// The memory DC holding strip 0..3 (null when not loaded).
HDC GlyphDeviceContext(int strip);

// The loaded glyph font: per strip its bitmap, the memory DC it is selected
// into and the bitmap that DC held before. Null where nothing was made.
struct GlyphFontState {
    HBITMAP strips[kGlyphStripCount];
    HDC contexts[kGlyphStripCount];
    HGDIOBJ previousBitmaps[kGlyphStripCount];
};
// Read-only view of what LoadGlyphFont made and ReleaseGlyphFont frees.
const GlyphFontState& LoadedGlyphFont();

// Width in pixels and the height, the side of a glyph cell (16 at 96 DPI).
struct TextExtent {
    int width;
    int height;
};

// Measures a mixed string: one glyph cell per double-byte character, single bytes in the
// font selected into dc.
TextExtent MeasureMixedText(HDC dc, const char* text);
// Draws a mixed string with its top-left corner at (x, y) in the DC's text
// colour, glyphs and single bytes alike, leaving whatever lies under the
// strokes' background as it was; single bytes are drawn with TextOutA one
// pixel lower. The DC's colours, brush and background mode are left as they
// were.
TextExtent DrawMixedText(HDC dc, int x, int y, const char* text);

// Makes the real Windows GB2312 font (g_gb2312Font, null when it cannot be
// made) used only for the sample line. Returns 1.
int CreateGB2312Font();
// Draws byteCount bytes of GB2312 text in the font selected into dc:
// TextOutA on the NT family, converted from code page 936 and drawn with
// TextOutW on the Windows 95 family.
void DrawGB2312Text(HDC dc, int x, int y, const char* text, int byteCount);
