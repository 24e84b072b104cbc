// The Install press: everything between the user's last click on the wizard
// and the end of the program. It runs inside the wizard's WM_COMMAND handling
// on the one thread, so the message loop is still while it works; only the
// progress bar's forced repaints and the message boxes' own loops keep the
// wizard painted.
#include "wizard/install_sequence.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "app/bounded.h"
#include "app/busy_queue.h"
#include "app/globals.h"
#include "app/path_chars.h"
#include "install/install_run.h"
#include "install/payload.h"
#include "resources/resource_ids.h"
#include "runtime/clock.h"
#include "runtime/heap.h"
#include "wizard/messages.h"
#include "wizard/pages.h"

namespace {

constexpr char kSpeechModuleFileName[] = "Sapi51forZelko.msi";
constexpr char kDocFolderName[] = "doc";
// Users should see the wizard busy for a moment even when the install is
// quicker than reading its progress bar.
constexpr int64_t kMinimumSeconds = 5;

// Reads the path field into the install folder. A path longer than the
// install folder can hold is refused rather than cut.
bool ReadInstallFolder(HWND wizard) {
    HWND field = GetDlgItem(wizard, IDC_FOLDER_PATH);
    if (GetWindowTextLengthA(field) >= MAX_PATH) return false;
    return GetDlgItemTextA(wizard, IDC_FOLDER_PATH, g_installFolder, MAX_PATH) > 0 ||
           g_installFolder[0] == '\0';
}

// The "doc" folder for the help pages, inside the install folder.
bool FormatDocFolder(char (&doc)[MAX_PATH]) {
    return FormatBounded(doc, "%s%s%s", g_installFolder, SeparatorAfter(g_installFolder), kDocFolderName) != 0;
}

// Enters the install folder, or creates it with an empty "doc" folder, and
// then sets *created. An existing folder is used as it is.
bool EnterOrCreateInstallFolder(bool* created) {
    *created = false;
    if (g_installFolder[0] == '\0') return false;
    if (SetCurrentDirectoryA(g_installFolder)) return true;
    if (!CreateDirectoryA(g_installFolder, nullptr)) return false;
    *created = true;
    char doc[MAX_PATH];
    if (FormatDocFolder(doc)) CreateDirectoryA(doc, nullptr);
    return true;
}

// A failed install into a folder this press made takes the folder away again
// when the run left nothing in it (the check found the failure beforehand),
// so that it changed nothing at all. A folder with files in it stays, and
// keeps its "doc" folder.
void RemoveCreatedFolderIfEmpty() {
    char doc[MAX_PATH];
    if (!FormatDocFolder(doc)) return;
    RemoveDirectoryA(doc);
    if (!RemoveDirectoryA(g_installFolder)) CreateDirectoryA(doc, nullptr);
}

void ReadInstallChoices(HWND wizard) {
    g_wantDesktopIcons = IsDlgButtonChecked(wizard, IDC_DESKTOP_ICONS) == BST_CHECKED ? 1 : 0;
    LRESULT selected = SendDlgItemMessageA(wizard, IDC_LANGUAGE_LIST, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;  // keep the language the wizard started with
    LRESULT language = SendDlgItemMessageA(wizard, IDC_LANGUAGE_LIST, CB_GETITEMDATA, selected, 0);
    if (language >= 0 && language <= 2) g_uiLanguage = static_cast<int>(language);
}

void HideNavigation(HWND wizard) {
    for (int id : {IDC_NEXT, IDC_BACK, IDC_CANCEL, IDC_BOTTOM_STRIP}) {
        HWND control = GetDlgItem(wizard, id);
        ShowWindow(control, SW_HIDE);
        UpdateWindow(control);
    }
}

// The wait cursor only shows while the mouse is over our window.
void ShowBusyCursorOver(HWND wizard) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    POINT cursor;
    RECT window;
    if (GetCursorPos(&cursor) && GetWindowRect(wizard, &window) && !PtInRect(&window, cursor)) {
        SetCursorPos(window.left + (window.right - window.left) / 2,
                     window.top + (window.bottom - window.top) / 2);
    }
}

// Waits until the whole-second clock has moved on by five since `start`.
// The clock is read again each time; a short sleep keeps a core free, and
// the queue is looked at in between so that Windows sees the program alive.
void WaitUntilSecondsPassed(int64_t start) {
    while (WholeSecondsNow() - start < kMinimumSeconds) {
        AnswerSentMessages();
        Sleep(50);
    }
}

// Whether the shell started what opens the package: ShellExecuteA and
// FindExecutableA give a value above 32 when they did.
bool ShellSucceeded(HINSTANCE result) { return reinterpret_cast<UINT_PTR>(result) > 32; }

// Writes the speech-module package into the temporary folder and opens it
// through the shell. Only a package this run wrote is opened: a stale or
// planted file of that name is never started. Where nothing on the system
// opens a Windows Installer package (Windows 95, 98 and NT 4 as shipped, NT
// 3.51 always), or what would open it does not start, the user is told so
// and the package goes again: nothing could ever use it. The shell's own
// answer for the written file is asked, as it would open it, rather than the
// registry, whose associations differ from one Windows to the next.
void InstallSpeechModule(HWND wizard) {
    uint8_t* buffer = static_cast<uint8_t*>(AllocateBlock(kSpeechModuleBufferSize));
    if (buffer == nullptr) {
        ShowMessageRow(kMsgSpeechModuleOutOfMemory, wizard);
        return;
    }
    char folder[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) CopyBounded(folder, "C:\\");
    char path[MAX_PATH];
    if (FormatBounded(path, "%s%s", folder, kSpeechModuleFileName) &&
        ExtractPayload(IDP_SPEECH_MODULE, kSpeechModuleFileName, buffer, kSpeechModuleBufferSize, 0, 0, path) &&
        GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        char opener[MAX_PATH];
        if (!ShellSucceeded(FindExecutableA(path, nullptr, opener)) ||
            !ShellSucceeded(ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL))) {
            DeleteFileA(path);
            ShowMessageRow(kMsgSpeechModuleNeedsInstaller, wizard);
        }
    }
    FreeBlock(buffer);
}

}  // namespace

void RunInstallSequence(HWND wizard) {
    ShowPage(wizard, g_wizardPage);
    g_wizardPage = kPageInstalling;

    // A folder too long for the product's file names is refused as one that
    // cannot be made, before anything is made.
    bool created;
    if (!ReadInstallFolder(wizard) || !InstallFolderLeavesRoom() || !EnterOrCreateInstallFolder(&created)) {
        ShowMessageRow(kMsgCannotCreateInstallFolder, wizard);
        g_wizardPage = kPageLanguage;
        return;
    }
    ReadInstallChoices(wizard);
    HideNavigation(wizard);

    int64_t start = WholeSecondsNow();
    ShowBusyCursorOver(wizard);
    int installed = RunInstall();
    WaitUntilSecondsPassed(start);
    DropInputGivenMeanwhile();

    if (installed) {
        ShowMessageRow(kMsgInstallSucceeded, wizard);
        if (ShowMessageRow(kMsgOfferSpeechModule, wizard) == IDOK) InstallSpeechModule(wizard);
    } else {
        if (created) RemoveCreatedFolderIfEmpty();
        ShowMessageRow(kMsgInstallFailed, wizard);
    }
    g_wizardPage = kPageEnd;
}
