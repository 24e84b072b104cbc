// The font's own layout, written from its row table rather than from the
// address arithmetic, and the bounds every cell must keep. Shared by the
// exhaustive check and the fuzz target of the code-to-cell mapping.
#pragma once
#include <cstdint>

#include "glyph/glyph_cell.h"

constexpr int kCellsPerFontRow = 94;
constexpr uint32_t kFirstTrail = 0xA1;
constexpr uint32_t kLastTrail = 0xFE;
constexpr uint32_t kFirstHanziLead = 0xB0;
constexpr uint32_t kLastHanziLead = 0xF7;
constexpr int kSymbolRowCount = 7;
constexpr int kFontCellCount = kGlyphStripCount * (kGlyphStripWidth / kGlyphCellSize) *
                               (kGlyphStripHeight / kGlyphCellSize);   // 7,552

// The lead byte held by each symbol row of the font, top row first: the
// box-drawing lead 0xA9 sits in the sixth row, ahead of 0xA7.
constexpr uint32_t kSymbolRowLeads[kSymbolRowCount] = {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA9, 0xA7};
constexpr int kBoxDrawingRow = 5;

// The two codes whose glyphs sit in cells of their own at the end.
constexpr uint32_t kCodeOfCell7456 = 0xE946;
constexpr uint32_t kCodeOfCell7457 = 0xA9A4;

// The cell number of a GlyphCell: strip after strip, cell rows across.
inline int CellNumber(const GlyphCell& cell) {
    constexpr int across = kGlyphStripWidth / kGlyphCellSize;
    constexpr int down = kGlyphStripHeight / kGlyphCellSize;
    return cell.strip * across * down + (cell.y / kGlyphCellSize) * across + cell.x / kGlyphCellSize;
}

// True when a 16 x 16 blit from the cell stays inside its strip.
inline bool CellIsInsideTheStrips(const GlyphCell& cell) {
    return cell.strip >= 0 && cell.strip < kGlyphStripCount &&
           cell.x >= 0 && cell.x + kGlyphCellSize <= kGlyphStripWidth &&
           cell.y >= 0 && cell.y + kGlyphCellSize <= kGlyphStripHeight &&
           cell.x % kGlyphCellSize == 0 && cell.y % kGlyphCellSize == 0;
}

// The font row of a lead byte: 0..6 for the symbol rows, 7.. for the hanzi
// rows; -1 when the font has no row for it.
inline int FontRowOfLead(uint32_t lead) {
    for (int row = 0; row < kSymbolRowCount; ++row) {
        if (kSymbolRowLeads[row] == lead) return row;
    }
    if (lead >= kFirstHanziLead && lead <= kLastHanziLead) {
        return kSymbolRowCount + static_cast<int>(lead - kFirstHanziLead);
    }
    return -1;
}

// The cell that holds the glyph of a two-byte code in the font, or -1 when
// the font holds no glyph for it.
inline int FontCellOf(uint32_t code) {
    if (code == kCodeOfCell7456) return 7456;
    if (code == kCodeOfCell7457) return 7457;
    uint32_t lead = code >> 8;
    uint32_t trail = code & 0xFF;
    int row = FontRowOfLead(lead);
    if (row < 0 || trail < kFirstTrail || trail > kLastTrail) return -1;
    return row * kCellsPerFontRow + static_cast<int>(trail - kFirstTrail);
}

// The cell the mapping must give a code, or -1 when only the bounds matter.
// The box-drawing codes (lead 0xA9) other than 0xA9A4 are left out: the
// mapping sends them to the hanzi rows (0xA9A1 to the cell of 0xB1A1) and
// reaches the box-drawing row through lead 0xA6 instead, so they do not get
// their own cells.
inline int ExpectedCellOf(uint32_t code) {
    code &= 0xFFFF;
    if ((code >> 8) == kSymbolRowLeads[kBoxDrawingRow] && code != kCodeOfCell7457) return -1;
    return FontCellOf(code);
}
