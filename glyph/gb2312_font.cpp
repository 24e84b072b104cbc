// The real Windows GB2312 font and the one line drawn with it: the sample of
// Chinese text that lets the user tell whether this Windows shows Chinese by
// itself (everything else is drawn from the glyph font).
//
// On the NT family the GB2312 bytes go to TextOutA as they are, in the GB2312
// font. On the Windows 95 family the line is converted from code page 936 by
// the program and drawn with TextOutW, so that what is drawn does not depend
// on the system's own ANSI code page.
#include <windows.h>

#include "app/bounded.h"
#include "app/globals.h"
#include "glyph/glyph.h"
#include "glyph/glyph_scale.h"

namespace {

constexpr UINT kGB2312CodePage = 936;
constexpr int kWideTextCapacity = 300;
constexpr char kGB2312FaceName[] = "Courier New";
// At 96 DPI; the font grows with the glyph cells beside it.
constexpr LONG kGB2312FontHeight = 16;
constexpr LONG kGB2312FontWidth = 8;

// The sample line in wide characters on the Windows 95 family. A line that
// needs more does not convert and is not drawn, rather than drawn cut short.
WCHAR g_wideText[kWideTextCapacity];

}  // namespace

int CreateGB2312Font() {
    if (g_gb2312Font) {
        DeleteObject(g_gb2312Font);
        g_gb2312Font = nullptr;
    }
    // Everything not named here stays as the system font has it.
    LOGFONTA font = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    CopyBounded(font.lfFaceName, kGB2312FaceName);
    font.lfHeight = ScaleToGlyphCell(kGB2312FontHeight);
    font.lfWidth = ScaleToGlyphCell(kGB2312FontWidth);
    font.lfWeight = FW_NORMAL;
    font.lfPitchAndFamily = FF_MODERN | FIXED_PITCH;
    font.lfCharSet = GB2312_CHARSET;
    g_gb2312Font = CreateFontIndirectA(&font);
    return 1;
}

void DrawGB2312Text(HDC dc, int x, int y, const char* text, int byteCount) {
    if (text == nullptr || byteCount <= 0) return;
    if (g_isNtPlatform) {
        TextOutA(dc, x, y, text, byteCount);
        return;
    }
    int wideCount = MultiByteToWideChar(kGB2312CodePage, 0, text, byteCount, g_wideText,
                                        kWideTextCapacity);
    if (wideCount > 0) TextOutW(dc, x, y, g_wideText, wideCount);
}
