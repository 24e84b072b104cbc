// The install run; see install_run.h.
//
// Runs on the wizard's thread inside its command handling, with no message
// loop: the progress bar is repainted by hand after every move, and only the
// message boxes repaint the wizard meanwhile. One 9 MiB work buffer takes
// every payload in turn (the largest inflates to a little over 8 MiB). Steps,
// in order: the word-base question, the check that the run can finish, the
// learned-dictionary deletions, the manifest, zerezizu.ini, the Start-menu
// entry and the desktop shortcuts.
#include "install/install_run.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>

#include "app/busy_queue.h"
#include "app/globals.h"
#include "install/config_file.h"
#include "install/earlier_install.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/preflight.h"
#include "install/shortcut_names.h"
#include "install/shortcuts.h"
#include "resources/resource_ids.h"
#include "runtime/heap.h"
#include "wizard/messages.h"

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

// Asks whether an older word base in the install folder is to be replaced;
// true when the user keeps it.
bool KeepOlderWordBase() {
    if (!ExistsInInstallFolder(kFlatWordBaseFileName)) return false;
    bool keep = InstallFolderHasWeightedWordBase() &&
                ShowMessageRow(kMsgReplaceOldWordBase, g_wizardWindow) != IDYES;
    // The message box may have changed the cursor.
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return keep;
}

// Writes the manifest's files in order and sets each row's progress position
// after the last row that carries it. Returns 0 as soon as a file that the
// product cannot do without fails.
int WriteManifest(uint8_t* buffer, HWND bar, bool keepOlderWordBase) {
    for (size_t i = 0; i < kManifestCount; ++i) {
        AnswerSentMessages();  // between files, so that Windows sees the program alive
        const ManifestEntry& entry = kManifest[i];
        if (!(entry.wordBase && keepOlderWordBase)) {
            int written = ExtractPayload(entry.identifier, entry.fileName, buffer, kInstallBufferSize,
                                         entry.readOnly, entry.hidden, nullptr);
            if (!written && entry.abortOnFailure) return 0;
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

int RunInstall() {
    // A folder too long for the product's file names is refused before
    // anything is touched.
    if (!InstallFolderLeavesRoom()) return 0;

    ScratchBlock buffer(kInstallBufferSize);
    if (buffer.bytes == nullptr) {
        ShowMessageRow(kMsgInstallOutOfMemory, g_wizardWindow);
        return 0;
    }

    HWND bar = GetDlgItem(g_wizardWindow, IDC_PROGRESS);
    ShowWindow(bar, SW_SHOW);
    SetProgress(bar, kProgressStarted);

    bool keepOlderWordBase = KeepOlderWordBase();
    // The check needs the answer (the word base is the biggest file) and
    // comes before the first change: the deletions below cannot be undone.
    InstallCheck check = CheckInstallCanFinish(buffer.bytes, keepOlderWordBase);
    if (check == kInstallVolumeTooSmall) ShowMessageRow(kMsgInstallVolumeTooSmall, g_wizardWindow);
    if (check != kInstallCanFinish) return 0;
    DeleteLearnedDictionaries();
    if (!WriteManifest(buffer.bytes, bar, keepOlderWordBase)) return 0;

    UpdateConfigFile();

    const ShortcutNames& names = ShortcutNamesFor(g_systemLanguage);
    CreateStartMenuEntry(names.folderName, names.rows, kFolderPrograms);
    SetProgress(bar, kProgressStartMenu);
    if (g_wantDesktopIcons) {
        CreateDesktopShortcut(kNotesFileName, names.rows[1].displayName);
        CreateDesktopShortcut(kEditorFileName, names.rows[0].displayName);
    }
    SetProgress(bar, kProgressDesktop);
    SetProgress(bar, kProgressDone);
    return 1;
}
