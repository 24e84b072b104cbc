// The code-to-cell mapping of the glyph font: from a two-byte code to the strip
// and the top-left pixel of its 16 x 16 cell.
//
// The font holds the GB2312 symbol rows 0xA1 to 0xA5, 0xA9 (as the sixth row)
// and 0xA7, then the 72 hanzi rows 0xB0 to 0xF7, 94 cells a row, and two
// special cells at the end. The address rule works on the code as two bytes
// of a 96-wide grid that starts at 0xA0A0 and takes two cells off per grid
// row (each font row has 94 cells). It is defined for every 16-bit value, not
// only for well-formed codes, so that a malformed byte pair in a caption still
// lands on one fixed cell inside the strips; the arithmetic is therefore kept
// in this general form rather than as the plain per-row formula.
#include "glyph/glyph_cell.h"

namespace {

constexpr uint32_t kCodeMask = 0xFFFF;
constexpr uint32_t kCodeBase = 0xA0A0;      // zone 0, position 0
constexpr int kZoneLength = 96;
constexpr uint32_t kFirstHanziCode = 0xB0A1;
constexpr int kFirstSymbolPlace = 97;       // grid place of 0xA1A1, cell 0
constexpr int kFirstHanziPlace = 1537;      // grid place of 0xB0A1
constexpr int kFirstHanziCell = 658;        // the cell of 0xB0A1
constexpr int kCellsAcross = kGlyphStripWidth / kGlyphCellSize;      // 32
constexpr int kCellRowsPerStrip = kGlyphStripHeight / kGlyphCellSize;  // 59

// Codes outside the two regular blocks whose glyphs sit in cells of their own.
constexpr uint32_t kCodeRong = 0xE946;
constexpr uint32_t kCodeHeavyLine = 0xA9A4;
constexpr GlyphCell kCellRong = {3, 0, 896};        // cell 7,456
constexpr GlyphCell kCellHeavyLine = {3, 16, 896};  // cell 7,457

// Reduces a possibly negative value to 0..65,535, as 16-bit arithmetic would.
int Wrap16(int value) {
    return static_cast<int>(static_cast<uint32_t>(value) & kCodeMask);
}

}  // namespace

GlyphCell MapGlyphCell(uint32_t code) {
    code &= kCodeMask;
    if (code == kCodeRong) return kCellRong;
    if (code == kCodeHeavyLine) return kCellHeavyLine;

    int t = Wrap16(static_cast<int>(code) - static_cast<int>(kCodeBase));
    int zone = t / 256;
    int position = t % 256;
    int place = zone * kZoneLength + position;

    // Distance in grid places from the first code of the block, less two
    // cells for each grid row crossed. The row count truncates toward zero,
    // also for the negative distances of codes before a block.
    int cellIndex;
    if (code < kFirstHanziCode) {
        int d = place - kFirstSymbolPlace;
        cellIndex = Wrap16(d - 2 * (d / kZoneLength));
    } else {
        int d = place - kFirstHanziPlace;
        cellIndex = Wrap16(kFirstHanziCell + d - 2 * (d / kZoneLength));
    }

    int cellRow = cellIndex / kCellsAcross;
    GlyphCell cell;
    cell.strip = cellRow / kCellRowsPerStrip;
    if (cell.strip > kGlyphStripCount - 1) cell.strip = kGlyphStripCount - 1;
    cell.x = kGlyphCellSize * (cellIndex % kCellsAcross);
    cell.y = (kGlyphCellSize * cellRow) % kGlyphStripHeight;
    return cell;
}
