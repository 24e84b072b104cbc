// The wizard dialog procedure: it only dispatches. Each message, and each
// command, goes to one short handler here or in pages.cpp; the painting of
// the owner-drawn controls belongs to the painters.
#include "wizard/wizard_dialog.h"

#include <initializer_list>

#include "app/bounded.h"
#include "app/globals.h"
#include "glyph/glyph_scale.h"
#include "resources/resource_ids.h"
#include "wizard/folder_chooser.h"
#include "wizard/language_list.h"
#include "wizard/layout_units.h"
#include "wizard/on_screen.h"
#include "wizard/owner_draw.h"
#include "wizard/pages.h"

namespace {

// A list item is a glyph cell and seven pixels (23 at 96 DPI).
constexpr int kListItemMargin = 7;
constexpr int kListItemWidth = 1024;

int ListItemHeight() {
    return GlyphCellPixels() + kListItemMargin;
}

// The path field starts as the folder start-up proposed (/D=, or an earlier
// install's), else as the Windows drive followed by :\Zelko.
void SetDefaultFolder(HWND dialog) {
    if (g_installFolder[0] != '\0') {
        SetDlgItemTextA(dialog, IDC_FOLDER_PATH, g_installFolder);
        return;
    }
    char windowsFolder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    char drive = (length > 0 && length < sizeof windowsFolder) ? windowsFolder[0] : 'C';
    char folder[16];
    if (FormatBounded(folder, "%c:\\Zelko", drive)) {
        SetDlgItemTextA(dialog, IDC_FOLDER_PATH, folder);
    }
}

// The three boxes painted by the check-box painter. Each call returns the
// button class procedure, which the painter hands every other message on to.
void SubclassCheckBoxes(HWND dialog) {
    for (int box : {IDC_DESKTOP_ICONS, IDC_DISPLAY_OK, IDC_DISPLAY_BAD}) {
        g_previousButtonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(dialog, box), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckBoxProc)));
    }
}

BOOL OnInitDialog(HWND dialog) {
    FitToLayoutUnits(dialog);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_wizardIcon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_wizardIcon));
    SetDefaultFolder(dialog);
    CheckDlgButton(dialog, IDC_DESKTOP_ICONS, BST_CHECKED);
    HWND back = GetDlgItem(dialog, IDC_BACK);
    ShowWindow(back, SW_HIDE);
    EnableWindow(back, FALSE);
    FillLanguageList(dialog);
    // The selection field of the language list is as high as its items, so
    // the glyphs fit. Windows sizes it from the measuring answer;
    // not every implementation asks for it, so it is set as well.
    SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                        ListItemHeight());
    SubclassCheckBoxes(dialog);
    // Someone on a Windows that is not Chinese reads the English agreement first.
    if (g_systemLanguage == 0) {
        CheckDlgButton(dialog, IDC_ENGLISH_AGREEMENT, BST_CHECKED);
    }
    ForgetAgreementTexts();
    KeepOnScreen(dialog);
    return TRUE;  // the focus goes to the first tab stop, the path field
}

BOOL OnMeasureItem(WPARAM control, MEASUREITEMSTRUCT* item) {
    if (control != IDC_AGREEMENT_CN_LIST && control != IDC_LANGUAGE_LIST) {
        return FALSE;
    }
    item->itemHeight = ListItemHeight();
    item->itemWidth = kListItemWidth;
    return TRUE;
}

BOOL OnDrawItem(HWND dialog, WPARAM control, const DRAWITEMSTRUCT* item) {
    if (control == IDC_AGREEMENT_CN_LIST || control == IDC_LANGUAGE_LIST) {
        PaintListItem(static_cast<int>(control), control == IDC_LANGUAGE_LIST, item, dialog);
    } else {
        PaintOwnerDrawButton(item, dialog);
    }
    return TRUE;
}

// The agreement box only matters on its own page: a focus change that reaches
// it while the page is being left must not bring the page back.
void OnEnglishAgreementBox(HWND dialog) {
    if (g_wizardPage == kPageAgreement) {
        ShowPage(dialog, kPageAgreement);
    }
}

// The notification code is not looked at: a box's focus notifications run
// the same action as its click.
void OnCommand(HWND dialog, int control) {
    // The install run looks at the queue so that Windows sees the program
    // alive; a command another program sends meanwhile must not re-enter
    // the wizard (a Browse or a second Install in the middle of the run).
    if (g_wizardPage == kPageInstalling) return;
    switch (control) {
    case IDC_BACK:
        PressBack(dialog);
        break;
    case IDC_NEXT:
        PressNext(dialog);
        break;
    case IDC_CANCEL:
        PressCancel();
        break;
    case IDC_BROWSE:
        BrowseForInstallFolder(dialog);
        break;
    case IDC_DESKTOP_ICONS:
        InvalidateRect(GetDlgItem(dialog, IDC_DESKTOP_ICONS), nullptr, FALSE);
        break;
    case IDC_DISPLAY_OK:
    case IDC_DISPLAY_BAD:
        KeepOneAnswer(dialog, control);
        break;
    case IDC_ENGLISH_AGREEMENT:
        OnEnglishAgreementBox(dialog);
        break;
    default:
        break;  // including IDOK, which the dialog manager sends for Enter
    }
}

}  // namespace

INT_PTR CALLBACK WizardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_MEASUREITEM:
        return OnMeasureItem(wParam, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
        return OnDrawItem(dialog, wParam, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}
