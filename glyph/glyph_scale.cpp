// See glyph_scale.h.
#include "glyph/glyph_scale.h"

#include <windows.h>

#include <initializer_list>

namespace {

// Beyond this factor the glyphs are big enough for any screen there is; a
// nonsense DPI must not make cells wider than a dialog.
constexpr int kLargestFactor = 8;

GlyphScale g_glyphScale = {kSmallGlyphSize, 1};

}  // namespace

GlyphScale GlyphScaleForDpi(int dpi, bool largeGlyphs) {
    GlyphScale best = {kSmallGlyphSize, 1};
    if (dpi <= kBaseDpi) return best;
    // 16 pixels at `dpi`, rounded down: the cell may not be bigger.
    const long wanted = static_cast<long>(kSmallGlyphSize) * dpi / kBaseDpi;
    for (int factor = 1; factor <= kLargestFactor; ++factor) {
        for (int source : {kSmallGlyphSize, kLargeGlyphSize}) {
            if (source == kLargeGlyphSize && !largeGlyphs) continue;
            const long cell = static_cast<long>(source) * factor;
            const long bestCell = static_cast<long>(best.source) * best.factor;
            if (cell <= wanted &&
                (cell > bestCell || (cell == bestCell && source == kLargeGlyphSize))) {
                best = {source, factor};
            }
        }
    }
    return best;
}

void ChooseGlyphScale(bool largeGlyphs) {
    int dpi = kBaseDpi;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    g_glyphScale = GlyphScaleForDpi(dpi, largeGlyphs);
}

GlyphScale CurrentGlyphScale() {
    return g_glyphScale;
}

int GlyphCellPixels() {
    return g_glyphScale.source * g_glyphScale.factor;
}

int ScaleToGlyphCell(int pixelsAt16) {
    return pixelsAt16 * GlyphCellPixels() / kSmallGlyphSize;
}
