// See glyph_scale.h.
#include "glyph/glyph_scale.h"

#include <windows.h>

#include <initializer_list>

namespace {

// Beyond this factor the glyphs are big enough for any screen there is; a
// nonsense DPI must not make cells wider than a dialog.
constexpr int kLargestFactor = 8;

// Zero until a scale is chosen, which stands for the 16-pixel font as it is
// (zero, so that the program carries no initialised data for it).
GlyphScale g_glyphScale = {};

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
    return g_glyphScale.source != 0 ? g_glyphScale : GlyphScale{kSmallGlyphSize, 1};
}

int GlyphCellPixels() {
    const GlyphScale scale = CurrentGlyphScale();
    return scale.source * scale.factor;
}

int ScaleToGlyphCell(int pixelsAt16) {
    return pixelsAt16 * GlyphCellPixels() / kSmallGlyphSize;
}
