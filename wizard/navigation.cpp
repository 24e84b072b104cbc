// Back, Next/Install, Cancel and the two answer boxes of the display test.
#include "app/exit_codes.h"
#include "app/globals.h"
#include "resources/resource_ids.h"
#include "wizard/install_sequence.h"
#include "wizard/messages.h"
#include "wizard/pages.h"

namespace {

int IsChecked(HWND dialog, int box) {
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED ? 1 : 0;
}

void GoToPage(HWND dialog, int page) {
    g_wizardPage = page;
    ShowPage(dialog, page);
}

// The display test always starts unanswered when it is reached from the first
// page; coming Back from the agreement keeps the answer.
void EnterDisplayTest(HWND dialog) {
    GoToPage(dialog, kPageDisplayTest);
    CheckDlgButton(dialog, IDC_DISPLAY_OK, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_DISPLAY_BAD, BST_UNCHECKED);
}

// The answer becomes UseBmpFont of the installed product; without one the
// user is asked and stays.
void LeaveDisplayTest(HWND dialog) {
    g_chineseDisplayOk = IsChecked(dialog, IDC_DISPLAY_OK);
    if (!g_chineseDisplayOk && !IsChecked(dialog, IDC_DISPLAY_BAD)) {
        ShowMessageRow(kMsgAnswerTheQuestion, dialog);
        return;
    }
    GoToPage(dialog, kPageAgreement);
}

}  // namespace

void PressBack(HWND dialog) {
    // Only between the pages: once the install runs there is no way back.
    if (g_wizardPage > kPageFolder && g_wizardPage <= kPageLanguage) {
        GoToPage(dialog, g_wizardPage - 1);
    }
}

void PressNext(HWND dialog) {
    switch (g_wizardPage) {
    case kPageFolder:
        EnterDisplayTest(dialog);
        break;
    case kPageDisplayTest:
        LeaveDisplayTest(dialog);
        break;
    case kPageAgreement:
        GoToPage(dialog, kPageLanguage);
        break;
    case kPageLanguage:
        RunInstallSequence(dialog);
        break;
    default:
        break;
    }
}

void PressCancel() {
    g_exitCode = kExitCancelled;
    g_wizardPage = kPageEnd;
}

void KeepOneAnswer(HWND dialog, int clickedBox) {
    int otherBox = clickedBox == IDC_DISPLAY_OK ? IDC_DISPLAY_BAD : IDC_DISPLAY_OK;
    if (IsChecked(dialog, clickedBox)) {
        CheckDlgButton(dialog, otherBox, BST_UNCHECKED);
    }
    // Repainted by the check-box painter, over what the button class drew.
    InvalidateRect(GetDlgItem(dialog, IDC_DISPLAY_OK), nullptr, FALSE);
    InvalidateRect(GetDlgItem(dialog, IDC_DISPLAY_BAD), nullptr, FALSE);
}
