// The uninstaller's entry point: ask (or, under /S, not), remove, report,
// and hand over to the copy that removes the uninstaller itself. It works on the folder it was
// started from, whatever the current folder is.
#include <windows.h>

#include "app/bounded.h"
#include "app/command_line.h"
#include "app/dll_search.h"
#include "app/environment.h"
#include "app/exit_codes.h"
#include "app/globals.h"
#include "app/one_at_a_time.h"
#include "glyph/glyph.h"
#include "glyph/glyph_scale.h"
#include "install/install_log.h"
#include "resources/resource_ids.h"
#include "uninstall/uninstall.h"
#include "wizard/messages.h"

namespace {

constexpr char kGlyphFontFileName[] = "ChnBmp.bin";
// The message box paints at most this many bytes of its Chinese line.
constexpr int kChineseLineBytes = 79;
constexpr int kEnglishLineSize = 128;

// Loads the glyph font from the ChnBmp.bin installed beside the uninstaller.
// A missing file, or one of another size than a whole font, leaves the font
// unloaded: the uninstaller then speaks English only.
bool LoadInstalledGlyphFont(const char* folder) {
    char path[MAX_PATH];
    if (!FormatBounded(path, "%s\\%s", folder, kGlyphFontFileName)) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool loaded = false;
    DWORD size = GetFileSize(file, nullptr);
    if (size == static_cast<DWORD>(kGlyphFontBytes)) {
        void* bytes = HeapAlloc(GetProcessHeap(), 0, size);
        DWORD read = 0;
        if (bytes != nullptr && ReadFile(file, bytes, size, &read, nullptr) && read == size) {
            loaded = LoadGlyphFontBytes(static_cast<const uint8_t*>(bytes), size) == kGlyphFontLoaded;
        }
        if (bytes != nullptr) HeapFree(GetProcessHeap(), 0, bytes);
    }
    CloseHandle(file);
    if (!loaded) ReleaseGlyphFont();
    return loaded;
}

// The Chinese line with the folder when it fits the painted line, else
// without it; empty when there is no glyph font to paint it.
void ChineseText(char (&text)[MAX_PATH], const char* format, const char* folder, const char* plain,
                 bool haveFont) {
    text[0] = '\0';
    if (!haveFont) return;
    if (!FormatBounded(text, format, folder) || lstrlenA(text) > kChineseLineBytes) CopyBounded(text, plain);
}

// Asks whether to remove the product from folder. Yes is the answer unless
// the user chose No, pressed Esc or closed the box; Enter answers as the
// focused Yes button does.
bool UserWantsRemoval(const char* folder, bool haveFont) {
    char chinese[MAX_PATH];
    ChineseText(chinese, "要从 %s 删除泽柯宁灵墨笺吗？", folder, "要从本程序所在的目录删除泽柯宁灵墨笺吗？",
                haveFont);
    char english[kEnglishLineSize];
    if (!FormatBounded(english, "Remove Zelko Scrivora from %s?", folder)) {
        CopyBounded(english, "Remove Zelko Scrivora from the folder of this program?");
    }
    int answer = ShowMessage(chinese, english, kButtonsYesNo, nullptr);
    return answer == IDYES || answer == IDOK;
}

void ReportUnremoved(bool haveFont) {
    const char* names = UnremovedFiles();
    if (names[0] == '\0') return;
    char english[kEnglishLineSize];
    if (!FormatBounded(english, "Not removed, in use by another program: %s", names)) {
        CopyBounded(english, "Some files are in use by another program and were not removed.");
    }
    ShowMessage(haveFont ? "以下文件正被其他程序使用，未能删除：" : "", english, kButtonsOk, nullptr);
}


// Removes the shell entries of both kinds setup may have made: the user's,
// and on the NT family those for every user (/ALLUSERS), each only when it
// points into the folder.
void RemoveAllShellEntries(const char* folder) {
    RemoveShellEntries(folder);
    if (g_isNtPlatform) {
        g_allUsers = 1;
        RemoveShellEntries(folder);
        g_allUsers = 0;
    }
}

// The removal itself, after the answer Yes or under /S: the shell entries
// first (while they exist they lead the user to files that are about to go),
// the files, and last the uninstall entry. Returns the exit code.
int Remove(const char* folder) {
    RemoveAllShellEntries(folder);
    RemoveProductFiles(folder);
    RemoveUninstallEntries(folder);
    return UnremovedFiles()[0] == '\0' ? kExitSuccess : kExitFailed;
}

int Finish(int exitCode) {
    LogNumber("exit code", exitCode, nullptr);
    CloseInstallLog();
    return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // First of all: its copy runs from the temporary folder, where any user
    // may have put a DLL of a name the system would load from beside it.
    RestrictDllSearch();
    g_instance = instance;
    DetectEnvironment();
    if (RunAsFinishingCopy(GetCommandLineA())) return 0;

    // The setup program's switches that mean something here: /S and /LOG=.
    CommandLine command;
    bool understood = ParseCommandLine(GetCommandLineA(), &command);
    if (!TakeOneAtATime()) {
        if (!command.silent) ShowTheRunningOne();
        return kExitRefused;
    }
    if (command.log[0] != '\0') OpenInstallLog(command.log);
    LogLine("uninstall, command line:", GetCommandLineA());
    if (!understood && command.silent) return Finish(kExitBadCommandLine);

    char self[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self || !CopyBounded(g_installFolder, self)) return Finish(1);
    char* separator = LastSeparator(g_installFolder);
    if (separator == nullptr) return Finish(1);
    *separator = '\0';

    if (command.silent) {
        int exitCode = Remove(g_installFolder);
        StartFinishingCopy(self);
        return Finish(exitCode);
    }

    // Only the 16-pixel font lies beside the uninstaller: its glyphs keep
    // their size up to 175 % and are doubled at 200 %, as crisp as the
    // setup program's.
    ChooseGlyphScale(false);
    bool haveFont = LoadInstalledGlyphFont(g_installFolder);
    if (!UserWantsRemoval(g_installFolder, haveFont)) {
        ReleaseGlyphFont();
        return Finish(kExitCancelled);
    }
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    int exitCode = Remove(g_installFolder);
    ReportUnremoved(haveFont);
    ReleaseGlyphFont();
    StartFinishingCopy(self);
    return Finish(exitCode);
}
