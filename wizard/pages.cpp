// ShowPage and the table of which control belongs to which page.
#include "wizard/pages.h"

#include "app/globals.h"
#include "resources/resource_ids.h"
#include "wizard/agreement.h"

namespace {

// One row per page: its controls, ending with 0. The table ends with an
// empty row. The navigation buttons and the left panel belong to no page.
constexpr int kPageControls[][16] = {
    {IDC_DESKTOP_ICONS, IDC_FOLDER_PATH, IDC_FOLDER_LABEL, IDC_BROWSE, 0},
    {IDC_SAMPLE_FRAME, IDC_DISPLAY_QUESTION, IDC_SAMPLE_LINE, IDC_DISPLAY_OK, IDC_DISPLAY_BAD, 0},
    {IDC_ENGLISH_AGREEMENT, IDC_AGREEMENT_CN_LIST, IDC_AGREEMENT_EN_TEXT, 0},
    {IDC_LANGUAGE_LABEL, IDC_LANGUAGE_LIST, 0},
    {0},
};

// The agreement texts are inflated once and then kept in their controls.
int g_agreementTextsLoaded = 0;

void ShowControl(HWND dialog, int id, int show) {
    ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

// Shows only the agreement control that box 1010 ("English") asks for. The
// control that stays is never hidden on the way: this runs on every focus
// change of the box too, and hiding the control the focus is moving to would
// lose the focus.
void ShowAgreementText(HWND dialog, int page) {
    int wanted = 0;
    if (page == kPageAgreement && g_agreementTextsLoaded) {
        wanted = IsDlgButtonChecked(dialog, IDC_ENGLISH_AGREEMENT) == BST_CHECKED
                     ? IDC_AGREEMENT_EN_TEXT
                     : IDC_AGREEMENT_CN_LIST;
    }
    ShowControl(dialog, IDC_AGREEMENT_CN_LIST, wanted == IDC_AGREEMENT_CN_LIST);
    ShowControl(dialog, IDC_AGREEMENT_EN_TEXT, wanted == IDC_AGREEMENT_EN_TEXT);
}

// Back exists from the second page on; during the install it is left alone.
void ShowBackButton(HWND dialog) {
    if (g_wizardPage < 0 || g_wizardPage >= kPageInstalling) {
        return;
    }
    HWND back = GetDlgItem(dialog, IDC_BACK);
    int show = g_wizardPage > 0;
    ShowWindow(back, show ? SW_SHOW : SW_HIDE);
    EnableWindow(back, show);
}

// The wizard's control that has the keyboard focus, or null.
HWND FocusedControl(HWND dialog) {
    HWND focus = GetFocus();
    return focus && GetParent(focus) == dialog ? focus : nullptr;
}

}  // namespace

void ShowPage(HWND dialog, int page) {
    // Windows moves the focus off a control it hides to whichever control it
    // picks, often Back, where the next Enter would undo the step just made;
    // Back itself hidden on the way to the first page leaves it to chance.
    // Next is where a user who walks the pages with Enter expects it.
    HWND focused = FocusedControl(dialog);
    for (int row = 0; kPageControls[row][0] != 0; ++row) {
        for (int i = 0; kPageControls[row][i] != 0; ++i) {
            ShowControl(dialog, kPageControls[row][i], row == page);
        }
    }
    // A failed load leaves the flag clear, so the next visit tries again; the
    // page then shows neither text rather than a half-filled one.
    if (page == kPageAgreement && !g_agreementTextsLoaded && LoadAgreementTexts(dialog)) {
        g_agreementTextsLoaded = 1;
    }
    ShowAgreementText(dialog, page);
    ShowBackButton(dialog);
    if (focused != nullptr && !(GetWindowLongA(focused, GWL_STYLE) & WS_VISIBLE)) {
        SetFocus(GetDlgItem(dialog, IDC_NEXT));
    }
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

void ForgetAgreementTexts() {
    g_agreementTextsLoaded = 0;
}
