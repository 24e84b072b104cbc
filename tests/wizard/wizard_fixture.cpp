// Creating the wizard for tests and reading its controls.
#include "wizard/wizard_fixture.h"

#include <algorithm>

#include "app/globals.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_dialog.h"

namespace {

// Every control that some page shows, and the two agreement controls.
constexpr int kPageControlIds[] = {
    IDC_DESKTOP_ICONS,    IDC_FOLDER_PATH,       IDC_FOLDER_LABEL,      IDC_BROWSE,
    IDC_SAMPLE_FRAME,     IDC_DISPLAY_QUESTION,  IDC_SAMPLE_LINE,       IDC_DISPLAY_OK,
    IDC_DISPLAY_BAD,      IDC_ENGLISH_AGREEMENT, IDC_AGREEMENT_CN_LIST, IDC_AGREEMENT_EN_TEXT,
    IDC_LANGUAGE_LABEL,   IDC_LANGUAGE_LIST,
};

}  // namespace

HWND CreateWizardForTest(int systemLanguage) {
    g_instance = GetModuleHandleA(nullptr);
    g_systemLanguage = systemLanguage;
    g_uiLanguage = 1;
    g_wizardPage = 0;
    g_chineseDisplayOk = 0;
    g_installFolder[0] = '\0';
    g_wizardIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_SETUP));
    g_wizardWindow = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_WIZARD), nullptr,
                                        WizardDialogProc, 0);
    PumpMessages();
    return g_wizardWindow;
}

void DestroyWizardForTest() {
    if (g_wizardWindow) {
        DestroyWindow(g_wizardWindow);
        g_wizardWindow = nullptr;
    }
    PumpMessages();
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!g_wizardWindow || !IsDialogMessageA(g_wizardWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

bool IsShown(HWND dialog, int id) {
    return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<int> ShownPageControls(HWND dialog) {
    std::vector<int> shown;
    for (int id : kPageControlIds) {
        if (IsShown(dialog, id)) {
            shown.push_back(id);
        }
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    PumpMessages();
}

void Command(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    PumpMessages();
}

std::string ListItemText(HWND dialog, int id, int index, bool combo) {
    HWND control = GetDlgItem(dialog, id);
    LRESULT length = SendMessageA(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (length < 0) {
        return "<no item>";
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                 reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(strlen(text.c_str()));
    return text;
}
