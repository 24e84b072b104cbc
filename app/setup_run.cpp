// The command line's part of a setup run; see setup_run.h.
#include "app/setup_run.h"

#include <windows.h>

#include "app/bounded.h"
#include "app/exit_codes.h"
#include "app/globals.h"
#include "install/install_folder.h"
#include "install/install_log.h"
#include "install/install_run.h"
#include "install/uninstall_entry.h"
#include "resources/version.h"

namespace {

constexpr char kDefaultFolderName[] = "Zelko";

// Whether the system draws GB2312 text with a real font: the font the
// wizard's sample line asks for is made, and the system says which character
// set it gave. Where it did not give GB2312, Chinese reads correctly only
// from the product's own glyph font, so the silent answer is the one a user
// who saw the sample line garbled would give.
bool SystemDrawsGB2312() {
    HFONT font = CreateFontA(16, 8, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0,
                             FF_MODERN | FIXED_PITCH, "Courier New");
    HDC screen = GetDC(nullptr);
    bool draws = false;
    if (font != nullptr && screen != nullptr) {
        HGDIOBJ old = SelectObject(screen, font);
        TEXTMETRICA metrics;
        draws = GetTextMetricsA(screen, &metrics) && metrics.tmCharSet == GB2312_CHARSET;
        SelectObject(screen, old);
    }
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    if (font != nullptr) DeleteObject(font);
    return draws;
}

}  // namespace

void LogStartOfRun(const char* commandLine) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    char line[160];
    FormatBounded(line, "setup %s, Windows %s %d.%d.%d, code page %d, language %lX", SCRIVORA_VERSION_TEXT,
                  g_isNtPlatform ? "NT" : "95", static_cast<int>(version.dwMajorVersion),
                  static_cast<int>(version.dwMinorVersion), static_cast<int>(version.dwBuildNumber & 0xFFFF),
                  static_cast<int>(GetACP()), static_cast<unsigned long>(GetSystemDefaultLangID()));
    LogLine(line, nullptr);
    LogLine("command line:", commandLine);
}

bool ChooseInstallFolder(const CommandLine& command) {
    if (command.folder[0] != '\0') {
        CopyBounded(g_installFolder, command.folder);
        return InstallFolderLeavesRoom();
    }
    if (FindInstalledFolder(g_installFolder)) return true;
    char windowsFolder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    char drive = (length > 0 && length < sizeof windowsFolder) ? windowsFolder[0] : 'C';
    FormatBounded(g_installFolder, "%c:\\%s", drive, kDefaultFolderName);
    return true;
}

InstallAnswers SilentAnswers(const CommandLine& command) {
    InstallAnswers answers = {};
    CopyBounded(answers.folder, g_installFolder);
    answers.desktopIcons = command.noDesktopIcons ? 0 : 1;
    answers.bitmapFont = SystemDrawsGB2312() ? 0 : 1;
    answers.language = command.language >= 0 ? command.language : g_uiLanguage;
    answers.wordBase = kWordBaseReplace;
    answers.offerSpeech = 0;
    answers.allUsers = command.allUsers ? 1 : 0;
    return answers;
}

int RunSilentInstall(const CommandLine& command) {
    InstallAnswers answers = SilentAnswers(command);
    ApplyInstallAnswers(answers);
    char line[MAX_PATH + 80];
    if (FormatBounded(line, "answers: desktop icons %d, bitmap font %d, language %d, folder %s", answers.desktopIcons,
                      answers.bitmapFont, answers.language, answers.folder)) {
        LogLine(line, nullptr);
    }
    bool created;
    if (!EnterOrCreateInstallFolder(&created)) {
        LogLine("refused before any change: cannot make the install folder", g_installFolder);
        return kExitRefused;
    }
    InstallOutcome outcome = RunInstall(answers);
    if (outcome == kInstallDone) return kExitSuccess;
    if (created) RemoveCreatedFolderIfEmpty();
    return outcome == kInstallRefused ? kExitRefused : kExitFailed;
}
