// The glyph font in memory: payload 110 inflated once at start-up into four
// monochrome 512 x 944 bitmaps, each selected into its own memory device
// context for the whole run, so that drawing a double-byte character later is
// one BitBlt with no decoding and no allocation.
//
// Whatever part of the font was made is recorded as soon as it exists, so
// that ReleaseGlyphFont can free a half-made font after a failure as well as
// a complete one.
#include <windows.h>

#include <cstdint>

#include "glyph/glyph.h"
#include "install/payload.h"
#include "resources/resource_ids.h"
#include "runtime/heap.h"

namespace {

constexpr int kBitmapPlanes = 1;
constexpr int kBitsPerPixel = 1;

GlyphFontState g_glyphFont = {};

// Makes strip k from its bytes in the inflated font and selects it into a
// memory DC of its own, recording each handle as soon as it exists.
bool MakeStrip(int k, const uint8_t* fontBytes) {
    g_glyphFont.strips[k] = CreateBitmap(kGlyphStripWidth, kGlyphStripHeight, kBitmapPlanes,
                                         kBitsPerPixel, fontBytes + k * kGlyphStripBytes);
    if (!g_glyphFont.strips[k]) return false;
    g_glyphFont.contexts[k] = CreateCompatibleDC(nullptr);
    if (!g_glyphFont.contexts[k]) return false;
    // A DC that did not take its strip would blit its own blank default
    // bitmap, so a failed selection counts as a device failure too.
    g_glyphFont.previousBitmaps[k] = SelectObject(g_glyphFont.contexts[k], g_glyphFont.strips[k]);
    return g_glyphFont.previousBitmaps[k] != nullptr;
}

}  // namespace

GlyphFontOutcome LoadGlyphFont() {
    // A second load replaces the first instead of leaking its handles.
    ReleaseGlyphFont();

    // The work buffer is larger than the font so that a payload of the wrong
    // size is still inflated whole and judged by the inflate alone.
    ScratchBlock buffer(kGlyphFontBufferSize);
    if (buffer.bytes == nullptr) return kGlyphFontNoMemory;
    if (!LoadPayload(IDP_GLYPH_FONT, buffer.bytes, kGlyphFontBufferSize, nullptr)) {
        return kGlyphFontInflateFailed;
    }
    for (int k = 0; k < kGlyphStripCount; ++k) {
        if (!MakeStrip(k, buffer.bytes)) return kGlyphFontDeviceFailed;
    }
    return kGlyphFontLoaded;
}

void ReleaseGlyphFont() {
    for (int k = 0; k < kGlyphStripCount; ++k) {
        if (g_glyphFont.contexts[k]) {
            // The strip must leave its DC before either can be deleted cleanly.
            if (g_glyphFont.previousBitmaps[k]) {
                SelectObject(g_glyphFont.contexts[k], g_glyphFont.previousBitmaps[k]);
            }
            DeleteDC(g_glyphFont.contexts[k]);
        }
        if (g_glyphFont.strips[k]) DeleteObject(g_glyphFont.strips[k]);
        g_glyphFont.strips[k] = nullptr;
        g_glyphFont.contexts[k] = nullptr;
        g_glyphFont.previousBitmaps[k] = nullptr;
    }
}

HDC GlyphDeviceContext(int strip) {
    if (strip < 0 || strip >= kGlyphStripCount) return nullptr;
    return g_glyphFont.contexts[strip];
}

const GlyphFontState& LoadedGlyphFont() {
    return g_glyphFont;
}
