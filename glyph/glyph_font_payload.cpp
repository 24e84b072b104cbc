// The setup program's glyph font comes from its own payload 110: inflated into
// a work buffer that lives only while the strips are made. Kept apart from the
// strips themselves so that a program that reads the font from a file (the
// uninstaller) does not pull in the payload store and the inflater.
#include <windows.h>

#include <cstdint>

#include "glyph/glyph.h"
#include "install/payload.h"
#include "resources/resource_ids.h"
#include "runtime/heap.h"

GlyphFontOutcome LoadGlyphFont() {
    ReleaseGlyphFont();
    // The work buffer is larger than the font so that a payload of the wrong
    // size is still inflated whole and judged by the inflate alone.
    ScratchBlock buffer(kGlyphFontBufferSize);
    if (buffer.bytes == nullptr) return kGlyphFontNoMemory;
    if (!LoadPayload(IDP_GLYPH_FONT, buffer.bytes, kGlyphFontBufferSize, nullptr)) {
        return kGlyphFontInflateFailed;
    }
    // The inflated length is not checked: the whole buffer stands for the font.
    return LoadGlyphFontBytes(buffer.bytes, kGlyphFontBufferSize);
}
