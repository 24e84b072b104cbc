// The install run; see install_run.h.
//
// Runs on the wizard's thread inside its command handling, with no message
// loop: the progress bar is repainted by hand after every move, and only the
// message boxes repaint the wizard meanwhile. A second thread inflates the
// payloads into a few blocks of memory while this one writes the files
// (inflate_ahead.h). Steps, in order: the word-base question, the check that
// the run can finish, the learned-dictionary deletions, the manifest,
// zerezizu.ini, the Start-menu entry and the desktop shortcuts.
#include "install/install_run.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>

#include "app/bounded.h"
#include "app/busy_queue.h"
#include "app/globals.h"
#include "install/config_file.h"
#include "install/earlier_install.h"
#include "install/install_answers.h"
#include "install/install_folder.h"
#include "install/inflate_ahead.h"
#include "install/install_log.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/preflight.h"
#include "install/shortcut_names.h"
#include "install/shortcuts.h"
#include "install/uninstall_entry.h"
#include "resources/resource_ids.h"

namespace {

// Progress positions around the manifest, whose own positions stand in its rows.
constexpr int kProgressStarted = 10;
constexpr int kProgressStartMenu = 94;
constexpr int kProgressDesktop = 97;
constexpr int kProgressDone = 100;

// Every file of the install is the install folder, a backslash and a name;
// the folder must leave room for the longest of those names.
constexpr size_t kLongestInstalledName = LongestManifestName() > LongestLearnedDictionaryName()
                                             ? LongestManifestName()
                                             : LongestLearnedDictionaryName();

// Moves the bar and repaints it at once: no message loop runs meanwhile.
void SetProgress(HWND bar, int position) {
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    UpdateWindow(bar);
    AnswerSentMessages();  // also between the shortcut steps
}

// Whether an older word base in the install folder stays: as the answers
// say, or as the user answers the question when they leave it open.
bool KeepOlderWordBase(int answer) {
    if (!ExistsInInstallFolder(kFlatWordBaseFileName) || answer == kWordBaseReplace) return false;
    bool keep = InstallFolderHasWeightedWordBase() &&
                (answer == kWordBaseKeep || NotifyInstallRow(kMsgReplaceOldWordBase) != IDYES);
    // The message box may have changed the cursor.
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return keep;
}

// A line of the log per manifest file: its name and installed size, or the
// failure with the error the system gave. The size is asked of the disk, one
// look per file: without a log that look is spared.
void LogWrittenFile(const char* fileName, int written) {
    DWORD error = GetLastError();
    if (!InstallLogOpen()) return;
    char path[MAX_PATH];
    if (!FormatBounded(path, "%s\\%s", g_installFolder, fileName)) return;
    if (written) {
        LogNumber("written", static_cast<long>(FileSizeOf(path)), fileName);
    } else {
        LogFailure("write", path, error);
    }
}

// Whether the run writes the manifest row: all but an older word base that stays.
bool WritesRow(const ManifestEntry& entry, bool keepOlderWordBase) {
    return !(entry.wordBase && keepOlderWordBase);
}

// Writes the manifest's files in order and sets each row's progress position
// after the last row that carries it. Returns 0 as soon as a file that the
// product cannot do without fails.
int WriteManifest(HWND bar, bool keepOlderWordBase) {
    for (size_t i = 0; i < kManifestCount; ++i) {
        AnswerSentMessagesNowAndThen();  // between files, so that Windows sees the program alive
        const ManifestEntry& entry = kManifest[i];
        if (WritesRow(entry, keepOlderWordBase)) {
            int written = WriteInflatedPayload(entry.fileName, entry.readOnly, entry.hidden);
            LogWrittenFile(entry.fileName, written);
            if (!written && entry.abortOnFailure) return 0;
        } else {
            LogLine("kept", entry.fileName);
        }
        bool lastOfStep = i + 1 == kManifestCount || kManifest[i + 1].progressStep != entry.progressStep;
        if (lastOfStep) SetProgress(bar, entry.progressStep);
    }
    return 1;
}

}  // namespace

bool InstallFolderLeavesRoom() {
    return strlen(g_installFolder) + 1 + kLongestInstalledName < MAX_PATH;
}

void ApplyInstallAnswers(const InstallAnswers& answers) {
    CopyBounded(g_installFolder, answers.folder);
    g_wantDesktopIcons = answers.desktopIcons;
    g_chineseDisplayOk = answers.bitmapFont ? 0 : 1;
    g_uiLanguage = answers.language;
    g_allUsers = answers.allUsers;
}

InstallOutcome RunInstall(const InstallAnswers& answers) {
    ApplyInstallAnswers(answers);
    // A folder too long for the product's file names is refused before
    // anything is touched.
    if (!InstallFolderLeavesRoom()) return kInstallRefused;

    HWND bar = GetDlgItem(g_wizardWindow, IDC_PROGRESS);
    ShowWindow(bar, SW_SHOW);
    SetProgress(bar, kProgressStarted);

    bool keepOlderWordBase = KeepOlderWordBase(answers.wordBase);
    // The payloads the run writes, in its order, start inflating at once:
    // the check below overlaps with the first of them.
    int payloads[kManifestCount];
    size_t payloadCount = 0;
    for (const ManifestEntry& entry : kManifest) {
        if (WritesRow(entry, keepOlderWordBase)) payloads[payloadCount++] = entry.identifier;
    }
    InflateAheadRun inflating(payloads, payloadCount);
    if (!inflating.started) {
        NotifyInstallRow(kMsgInstallOutOfMemory);
        return kInstallRefused;
    }
    // The check needs the answer (the word base is the biggest file) and
    // comes before the first change: the deletions below cannot be undone.
    uint32_t productBytes = 0;
    InstallCheck check = CheckInstallCanFinish(keepOlderWordBase, TakeInstallFolderMadeForRun(), &productBytes);
    if (check == kInstallVolumeTooSmall) NotifyInstallRow(kMsgInstallVolumeTooSmall);
    if (check != kInstallCanFinish) {
        LogNumber("refused before any change: check", check, g_installFolder);
        return kInstallRefused;
    }
    DeleteLearnedDictionaries();
    if (!WriteManifest(bar, keepOlderWordBase)) return kInstallFailedDuringRun;
    StopInflateAhead();   // every piece is written: its memory goes back before the shell's work

    UpdateConfigFile();
    LogLine("configuration updated:", kConfigFileName);

    const ShortcutNames& names = ShortcutNamesFor(g_systemLanguage);
    {
        ShortcutApartment apartment;   // one for the Start-menu entry and the desktop alike
        CreateStartMenuEntry(names.folderName, names.rows, kFolderPrograms);
        SetProgress(bar, kProgressStartMenu);
        if (g_wantDesktopIcons) {
            CreateDesktopShortcut(kNotesFileName, names.rows[1].displayName);
            CreateDesktopShortcut(kEditorFileName, names.rows[0].displayName);
        }
    }
    SetProgress(bar, kProgressDesktop);
    // Last, when everything it describes is there.
    WriteUninstallEntry(productBytes);
    SetProgress(bar, kProgressDone);
    return kInstallDone;
}
