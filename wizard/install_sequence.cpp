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
#include "app/exit_codes.h"
#include "app/globals.h"
#include "install/install_folder.h"
#include "install/install_run.h"
#include "install/payload.h"
#include "resources/resource_ids.h"
#include "runtime/clock.h"
#include "runtime/heap.h"
#include "wizard/messages.h"
#include "wizard/pages.h"

namespace {

constexpr char kSpeechModuleFileName[] = "Sapi51forZelko.msi";
// Users should see the wizard busy for a moment even when the install is
// quicker than reading its progress bar.
constexpr int64_t kMinimumSeconds = 5;

// Reads the path field into the answers. A path longer than the install
// folder can hold is refused rather than cut.
bool ReadInstallFolder(HWND wizard, InstallAnswers* answers) {
    HWND field = GetDlgItem(wizard, IDC_FOLDER_PATH);
    if (GetWindowTextLengthA(field) >= MAX_PATH) return false;
    answers->folder[0] = '\0';
    GetDlgItemTextA(wizard, IDC_FOLDER_PATH, answers->folder, MAX_PATH);
    return true;
}

// The answers of the wizard's pages: the path field, the desktop-icon box,
// the display answer given when leaving page 1, the language list. The word
// base and the speech module are asked when it is their turn.
bool ReadInstallAnswers(HWND wizard, InstallAnswers* answers) {
    answers->desktopIcons = IsDlgButtonChecked(wizard, IDC_DESKTOP_ICONS) == BST_CHECKED ? 1 : 0;
    answers->bitmapFont = g_chineseDisplayOk ? 0 : 1;
    answers->language = g_uiLanguage;  // the language the wizard started with, unless one is chosen
    LRESULT selected = SendDlgItemMessageA(wizard, IDC_LANGUAGE_LIST, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
        LRESULT language = SendDlgItemMessageA(wizard, IDC_LANGUAGE_LIST, CB_GETITEMDATA, selected, 0);
        if (language >= 0 && language <= 2) answers->language = static_cast<int>(language);
    }
    answers->wordBase = kWordBaseAsk;
    answers->offerSpeech = 1;
    answers->allUsers = g_allUsers;
    return ReadInstallFolder(wizard, answers);
}

// The engine's messages, in the wizard's message box.
int ShowInstallRow(MessageRow row, const char* detail) { return ShowMessageRow(row, g_wizardWindow, detail); }

void HideNavigation(HWND wizard) {
    static constexpr int kNavigation[] = {IDC_NEXT, IDC_BACK, IDC_CANCEL, IDC_BOTTOM_STRIP};
    for (int id : kNavigation) {
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
    InstallAnswers answers;
    bool created;
    bool readable = ReadInstallAnswers(wizard, &answers);
    if (readable) ApplyInstallAnswers(answers);
    if (!readable || !InstallFolderLeavesRoom() || !EnterOrCreateInstallFolder(&created)) {
        ShowMessageRow(kMsgCannotCreateInstallFolder, wizard);
        g_wizardPage = kPageLanguage;
        return;
    }
    HideNavigation(wizard);

    int64_t start = WholeSecondsNow();
    ShowBusyCursorOver(wizard);
    SetInstallNotifier(ShowInstallRow);
    InstallOutcome outcome = RunInstall(answers);
    WaitUntilSecondsPassed(start);
    DropInputGivenMeanwhile();

    if (outcome == kInstallDone) {
        ShowMessageRow(kMsgInstallSucceeded, wizard);
        if (answers.offerSpeech && ShowMessageRow(kMsgOfferSpeechModule, wizard) == IDOK) {
            InstallSpeechModule(wizard);
        }
        g_exitCode = kExitSuccess;
    } else {
        if (created) RemoveCreatedFolderIfEmpty();
        ShowMessageRow(kMsgInstallFailed, wizard);
        g_exitCode = outcome == kInstallRefused ? kExitRefused : kExitFailed;
    }
    g_wizardPage = kPageEnd;
}
