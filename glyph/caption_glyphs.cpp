// See caption_glyphs.h. The codes are copied out of the payload so that its
// inflate buffer lives only while the bitmap is made.
#include "glyph/caption_glyphs.h"

#include "glyph/glyph_scale.h"

namespace {

struct CaptionGlyphs {
    HBITMAP bitmap;
    HDC context;
    HGDIOBJ previousBitmap;
    int count;
    uint16_t codes[kMaxCaptionGlyphs];
};

CaptionGlyphs g_captionGlyphs = {};

}  // namespace

bool LoadCaptionGlyphBytes(const uint8_t* bytes, size_t size) {
    ReleaseCaptionGlyphs();
    if (bytes == nullptr || size < 2) return false;
    const int count = bytes[0] | bytes[1] << 8;
    const int cellRows = (count + kCaptionGlyphsAcross - 1) / kCaptionGlyphsAcross;
    const size_t wanted = 2 + 2 * static_cast<size_t>(count) +
                          static_cast<size_t>(kCaptionGlyphRowBytes) * kLargeGlyphSize * cellRows;
    if (count == 0 || count > kMaxCaptionGlyphs || size != wanted) return false;
    for (int i = 0; i < count; ++i) {
        g_captionGlyphs.codes[i] = static_cast<uint16_t>(bytes[2 + 2 * i] << 8 | bytes[3 + 2 * i]);
    }
    g_captionGlyphs.bitmap = CreateBitmap(kCaptionGlyphsAcross * kLargeGlyphSize, kLargeGlyphSize * cellRows,
                                          1, 1, bytes + 2 + 2 * count);
    if (g_captionGlyphs.bitmap) g_captionGlyphs.context = CreateCompatibleDC(nullptr);
    if (g_captionGlyphs.context) {
        g_captionGlyphs.previousBitmap = SelectObject(g_captionGlyphs.context, g_captionGlyphs.bitmap);
    }
    if (g_captionGlyphs.previousBitmap == nullptr) {
        ReleaseCaptionGlyphs();
        return false;
    }
    g_captionGlyphs.count = count;
    return true;
}

void ReleaseCaptionGlyphs() {
    if (g_captionGlyphs.context) {
        if (g_captionGlyphs.previousBitmap) {
            SelectObject(g_captionGlyphs.context, g_captionGlyphs.previousBitmap);
        }
        DeleteDC(g_captionGlyphs.context);
    }
    if (g_captionGlyphs.bitmap) DeleteObject(g_captionGlyphs.bitmap);
    g_captionGlyphs.bitmap = nullptr;
    g_captionGlyphs.context = nullptr;
    g_captionGlyphs.previousBitmap = nullptr;
    g_captionGlyphs.count = 0;
}

bool FindCaptionGlyph(unsigned code, HDC* dc, int* x, int* y) {
    int low = 0;
    int high = g_captionGlyphs.count;
    code &= 0xFFFF;
    while (low < high) {
        int middle = (low + high) / 2;
        if (g_captionGlyphs.codes[middle] < code) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == g_captionGlyphs.count || g_captionGlyphs.codes[low] != code) return false;
    *dc = g_captionGlyphs.context;
    *x = kLargeGlyphSize * (low % kCaptionGlyphsAcross);
    *y = kLargeGlyphSize * (low / kCaptionGlyphsAcross);
    return true;
}
