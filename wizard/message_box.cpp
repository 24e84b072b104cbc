// The program's own message box (dialog 112): one Chinese line, one English
// line under it and one or two buttons, sized and centred on the screen from
// the measured extents of the two texts. The Windows message box cannot show
// Chinese on a system without Chinese support; here the Chinese line is an
// owner-drawn label painted through the glyph font, and the buttons carry the
// painter's bilingual captions. Every prompt and error of the program comes
// through ShowMessage.
#include <algorithm>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/layout_units.h"
#include "wizard/messages.h"
#include "wizard/on_screen.h"
#include "wizard/owner_draw.h"
#include "wizard/whole_characters.h"

namespace {

// The message being shown. ShowMessage sets both just before it opens the
// dialog; only the layout reads them. The Chinese text reaches the dialog as
// its creation parameter and stays the caller's.
char g_englishText[128] = "";
int g_buttonSet = kButtonsOk;

// Button size when the template has no button of the set.
constexpr int kFallbackButtonWidth = 82;
constexpr int kFallbackButtonHeight = 12;

struct ButtonPair {
    int first;
    int second;
};

ButtonPair ButtonsOfSet(int buttonSet) {
    if (buttonSet == kButtonsYesNo) return {IDC_ANSWER_YES, IDC_ANSWER_NO};
    return {IDC_OK, IDC_CANCEL};
}

SIZE MeasureEnglish(HDC dc, const char* text) {
    SIZE size = {0, 0};
    int length = lstrlenA(text);
    if (length == 0 || !GetTextExtentPointA(dc, text, length, &size)) {
        size.cx = 0;
        size.cy = 0;
    }
    return size;
}

void PlaceButton(HWND dialog, int id, int x, int y, int width, int height) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return;
    ShowWindow(button, SW_SHOW);
    MoveWindow(button, x, y, width, height, TRUE);
}

// Sizes the window to its texts, centres it on the screen and places the
// lines and the buttons of the set.
void LayOut(HWND dialog, const char* chinese) {
    const int set = g_buttonSet;
    const ButtonPair buttons = ButtonsOfSet(set);

    // Both texts are measured in the window DC's default font, whatever font
    // later draws them.
    HDC dc = GetDC(dialog);
    TextExtent chineseExtent = MeasureMixedText(dc, chinese);
    SIZE english = MeasureEnglish(dc, g_englishText);
    ReleaseDC(dialog, dc);
    const int cwC = chineseExtent.width;
    const int chC = chineseExtent.height;

    RECT buttonRect;
    buttonRect.left = buttonRect.top = 0;
    buttonRect.right = kFallbackButtonWidth;
    buttonRect.bottom = kFallbackButtonHeight;
    if (HWND first = GetDlgItem(dialog, buttons.first)) GetClientRect(first, &buttonRect);
    const int bw = buttonRect.right - buttonRect.left;
    const int bh = buttonRect.bottom - buttonRect.top;

    const int minWidth = set == kButtonsOk ? 2 * bw : 3 * bw;
    int width = std::max(cwC, static_cast<int>(english.cx)) + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    if (lstrlenA(chinese) < 81) width += 2 * bh;
    const int height = 3 * (chC + bh) + 2 * english.cy;

    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, std::max(width, minWidth),
                 height + GetSystemMetrics(SM_CYCAPTION), SWP_NOZORDER);
    KeepOnScreen(dialog);
    RECT client;
    GetClientRect(dialog, &client);

    // The buttons are centred in the measured width, not in the window,
    // unless the window is wider than the texts: where the system's font
    // measures the texts narrower than the buttons (a Chinese face with
    // half-width Latin letters), they are centred in the window and stay
    // whole inside it.
    const int buttonWidth = std::max(width, minWidth);
    if (set == kButtonsOk) {
        PlaceButton(dialog, buttons.first, (buttonWidth - bw) / 2, height - 2 * bh, bw, bh);
    } else {
        int x = (buttonWidth - 7 * bw / 3) / 2;
        int y = height - 3 * bh / 2;
        PlaceButton(dialog, buttons.first, x, y, bw, bh);
        PlaceButton(dialog, buttons.second, x + 4 * bw / 3, y, bw, bh);
    }

    const int chineseTop = 2 * chC / 3;
    HWND chineseLine = GetDlgItem(dialog, IDC_MESSAGE_CHINESE);
    SetWindowTextA(chineseLine, chinese);
    MoveWindow(chineseLine, 0, chineseTop, client.right, 3 * chC, TRUE);

    HWND englishLine = GetDlgItem(dialog, IDC_MESSAGE_ENGLISH);
    if (g_englishText[0] == '\0') {
        ShowWindow(englishLine, SW_HIDE);
    } else {
        SetWindowTextA(englishLine, g_englishText);
        MoveWindow(englishLine, 0, chineseTop + 3 * chC + 5, client.right, 2 * english.cy, TRUE);
    }
}

// Buttons 1, 2, 6 and 7 answer; Esc and the close box arrive as 2 in every
// button set, because the hidden Cancel button still exists.
void OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_OK:
    case IDC_CANCEL:
    case IDC_ANSWER_YES:
    case IDC_ANSWER_NO:
        EndDialog(dialog, id);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        FitToLayoutUnits(dialog);
        LayOut(dialog, lParam ? reinterpret_cast<const char*>(lParam) : "");
        return TRUE;
    case WM_DRAWITEM:
        PaintOwnerDrawButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int ShowMessage(const char* chineseText, const char* englishText, int buttonSet, HWND owner) {
    g_buttonSet = buttonSet;
    // No caller passes an English text of 128 bytes or more; one would be
    // shown up to its last whole character that fits.
    CopyWholeCharacters(g_englishText, englishText);
    return static_cast<int>(DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_MESSAGE_BOX), owner,
                                            MessageDialogProc,
                                            reinterpret_cast<LPARAM>(chineseText ? chineseText : "")));
}
