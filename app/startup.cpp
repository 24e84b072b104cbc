// Start-up and teardown, in the order the rest of the program relies on: the
// environment flags and language codes exist before any font or window, the
// glyph font is decoded before the wizard paints its first caption, and the
// wizard is destroyed before the fonts it paints with are released.
#include "app/startup.h"

#include "app/dll_search.h"
#include "app/environment.h"
#include "app/globals.h"
#include "app/message_loop.h"
#include "glyph/caption_glyphs.h"
#include "glyph/glyph.h"
#include "glyph/glyph_scale.h"
#include "resources/resource_ids.h"
#include "wizard/messages.h"
#include "wizard/wizard_dialog.h"

namespace {

void ReleaseFonts() {
    ReleaseGlyphFont();
    ReleaseCaptionGlyphs();
    if (g_gb2312Font) {
        DeleteObject(g_gb2312Font);
        g_gb2312Font = nullptr;
    }
}

// Loads the glyph font. Returns -1 to go on, or the exit code to end with.
int LoadGlyphFontOrExitCode() {
    switch (LoadGlyphFont()) {
    case kGlyphFontLoaded:
        return -1;
    case kGlyphFontNoMemory:
        // No window exists yet, so the message has no owner.
        ShowMessageRow(kMsgGlyphFontOutOfMemory, nullptr);
        return 1;
    case kGlyphFontInflateFailed:
        return 1;
    case kGlyphFontDeviceFailed:
    default:
        // Without device contexts for the glyphs nothing can be drawn; end
        // quietly, as if the user had cancelled.
        return 0;
    }
}

}  // namespace

int RunSetup(HINSTANCE instance) {
    // Before anything below loads a DLL by name.
    RestrictDllSearch();
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    DetectEnvironment();
    g_instance = instance;
    // The glyph size follows the screen's DPI; every painter reads it.
    ChooseGlyphScale();

    CreateGB2312Font();
    int exitCode = LoadGlyphFontOrExitCode();
    if (exitCode >= 0) {
        ReleaseFonts();
        return exitCode;
    }

    // From 150 % the captions' characters have 24-pixel glyphs of their own;
    // without them the cells are whole multiples of the 16-pixel font.
    if (CurrentGlyphScale().source == kLargeGlyphSize && !LoadCaptionGlyphs()) ChooseGlyphScale(false);
    g_wizardPage = 0;
    // The wizard's progress bar is a common control: its window class exists
    // only once comctl32 is loaded, which nothing else guarantees on every
    // Windows this program runs on. Without it the dialog cannot be created,
    // which ends the program below.
    InitCommonControlsFromSystem();
    g_wizardIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
    g_wizardWindow = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_WIZARD), nullptr,
                                        WizardDialogProc, 0);
    if (!g_wizardWindow) {
        // Without a window nothing could ever end the loop.
        ReleaseFonts();
        return 1;
    }

    RunMessageLoop();

    DestroyWindow(g_wizardWindow);
    g_wizardWindow = nullptr;
    ReleaseFonts();
    return 0;
}
