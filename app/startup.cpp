// Start-up and teardown, in the order the rest of the program relies on: the
// environment flags and language codes exist before any font or window, the
// glyph font is decoded before the wizard paints its first caption, and the
// wizard is destroyed before the fonts it paints with are released.
#include "app/startup.h"

#include "app/command_line.h"
#include "app/dll_search.h"
#include "app/environment.h"
#include "app/exit_codes.h"
#include "app/globals.h"
#include "app/message_loop.h"
#include "app/one_at_a_time.h"
#include "app/setup_run.h"
#include "glyph/caption_glyphs.h"
#include "glyph/glyph.h"
#include "glyph/glyph_scale.h"
#include "install/install_log.h"
#include "install/uninstall_entry.h"
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
        return kExitCannotStart;
    case kGlyphFontInflateFailed:
        return kExitCannotStart;
    case kGlyphFontDeviceFailed:
    default:
        // Without device contexts for the glyphs nothing can be drawn; end
        // quietly, but with the glyph font's code: nothing was installed,
        // and a tool must not read this as a success.
        return kExitCannotStart;
    }
}

// The switches, for whoever started setup with /? or a line it does not
// understand. An administrator reads it, in the system's own box.
constexpr char kSwitchList[] =
    "Zelko Scrivora setup\n\n"
    "/S\tsilent: no window, no question\n"
    "/D=folder\tinstall folder (last, no quotes)\n"
    "/NODESKTOP\tno desktop shortcuts\n"
    "/LANG=EN|ZH-CN|ZH-TW\tlanguage of the product\n"
    "/ALLUSERS\tfor every user (administrator)\n"
    "/LOG=file\tplain-text log\n\n"
    "Exit codes: 0 done, 1602 cancelled, 1603 failed, 1618 nothing changed, 1639 bad command line";
constexpr char kAllUsersNeedsRights[] = "/ALLUSERS needs administrator rights. Nothing was changed.";
constexpr char kBoxCaption[] = "Zelko Scrivora setup";
constexpr char kLogNotOpened[] = "The log file cannot be written. Setup goes on without it.";

// What the command line decides before the wizard: -1 to go on with it, or
// the exit code to end with. Silent runs end here.
int RunCommandLine(const char* line, const CommandLine& command, bool understood) {
    bool logOpened = command.log[0] == '\0' || OpenInstallLog(command.log);
    LogStartOfRun(line);
    if (!TakeOneAtATime()) {
        if (!command.silent) ShowTheRunningOne();
        LogLine("refused before any change:", "another setup or uninstaller is running");
        return kExitRefused;
    }
    const char* problem = nullptr;
    int code = kExitBadCommandLine;
    if (!understood || command.help || !ChooseInstallFolder(command)) {
        problem = kSwitchList;
    } else if (command.allUsers && g_isNtPlatform && !MayWriteMachineEntry()) {
        problem = kAllUsersNeedsRights;
        code = kExitRefused;
    } else if (command.silent) {
        return RunSilentInstall(command);
    } else {
        g_allUsers = command.allUsers ? 1 : 0;
        // The wizard's language list starts on the language asked for.
        if (command.language >= 0) g_uiLanguage = command.language;
        if (!logOpened) MessageBoxA(nullptr, kLogNotOpened, kBoxCaption, MB_OK | MB_ICONWARNING);
        return -1;
    }
    LogLine("not installed:", problem == kSwitchList ? "bad command line" : problem);
    if (!command.silent) MessageBoxA(nullptr, problem, kBoxCaption, MB_OK | MB_ICONINFORMATION);
    return code;
}

// Ends the run's log with its exit code.
int Finish(int exitCode) {
    LogNumber("exit code", exitCode, nullptr);
    CloseInstallLog();
    return exitCode;
}

}  // namespace

int RunSetup(HINSTANCE instance) {
    // Before anything below loads a DLL by name.
    RestrictDllSearch();
    DetectEnvironment();
    g_instance = instance;
    const char* line = GetCommandLineA();
    CommandLine command;
    bool understood = ParseCommandLine(line, &command);
    int exitCode = RunCommandLine(line, command, understood);
    if (exitCode >= 0) return Finish(exitCode);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    // The glyph size follows the screen's DPI; every painter reads it.
    ChooseGlyphScale();

    CreateGB2312Font();
    exitCode = LoadGlyphFontOrExitCode();
    if (exitCode >= 0) {
        ReleaseFonts();
        return Finish(exitCode);
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
        return Finish(kExitCannotStart);
    }

    RunMessageLoop();

    DestroyWindow(g_wizardWindow);
    g_wizardWindow = nullptr;
    ReleaseFonts();
    return Finish(g_exitCode);
}
