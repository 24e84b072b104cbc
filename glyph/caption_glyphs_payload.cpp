// The setup program's caption glyphs come from its own payload 254; kept
// apart from the glyph bitmap so that the uninstaller, which draws from the
// 16-pixel font only, pulls in no payload store.
#include "glyph/caption_glyphs.h"
#include "install/payload.h"
#include "resources/resource_ids.h"
#include "runtime/heap.h"

bool LoadCaptionGlyphs() {
    ReleaseCaptionGlyphs();
    ScratchBlock buffer(kCaptionGlyphBufferSize);
    if (buffer.bytes == nullptr) return false;
    uint32_t length = 0;
    if (!LoadPayload(IDP_CAPTION_GLYPHS, buffer.bytes, kCaptionGlyphBufferSize, &length)) return false;
    return LoadCaptionGlyphBytes(buffer.bytes, length);
}
