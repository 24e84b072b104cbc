// The 24 x 24 glyphs of the characters the program shows (payload 254), used
// from 150 % scaling on: one monochrome bitmap of cells 32 across, selected
// into its own memory DC for the whole run, and the sorted GB2312 codes that
// say which cell holds which character. A character without a cell here is
// drawn from the 16 x 16 font instead.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The payload: 2 bytes of count N, N two-byte codes (lead byte first, in
// ascending order), then the bitmap, 96 bytes a row, 24 rows per 32 glyphs.
constexpr int kCaptionGlyphsAcross = 32;
constexpr int kCaptionGlyphRowBytes = 96;
constexpr int kMaxCaptionGlyphs = 2048;
constexpr uint32_t kCaptionGlyphBufferSize = 65536;

// Makes the glyph bitmap and its DC from the payload's bytes. Bytes whose
// size does not match their count are refused. A set loaded earlier is
// released first. Returns false when nothing usable was made.
bool LoadCaptionGlyphBytes(const uint8_t* bytes, size_t size);
// Inflates payload 254 and loads it as LoadCaptionGlyphBytes does.
bool LoadCaptionGlyphs();
// Frees what LoadCaptionGlyphBytes made; safe at any time and twice.
void ReleaseCaptionGlyphs();
// The DC and the top-left pixel of the 24 x 24 glyph of `code` (lead byte x
// 256 + trail byte); false when the set has no such glyph or is not loaded.
bool FindCaptionGlyph(unsigned code, HDC* dc, int* x, int* y);
