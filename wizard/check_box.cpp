// The wizard's subclassed check boxes (desktop icons, and the two answers of
// the display test). A standard check box would draw its caption with a
// Windows font, which shows no Chinese on a system without Chinese support;
// these boxes keep the standard button's behaviour (clicks, keyboard, check
// state) but paint themselves: the face, a box drawn by DrawFrameControl and
// the caption through the glyph font.
#include "glyph/glyph.h"
#include "glyph/glyph_scale.h"
#include "wizard/captions.h"
#include "wizard/owner_draw.h"
#include "wizard/whole_characters.h"

WNDPROC g_previousButtonProc = nullptr;

namespace {

// A caption the table does not know comes from the window text.
constexpr int kCheckBoxTextSize = 128;
// The caption's distance from the top of the face, for 16-pixel glyphs.
constexpr int kCaptionTopAt16 = 3;

// The box sits at the left of the face, a square of the face's height shrunk
// to the size of the button's own box; radio buttons get a round one.
RECT BoxRect(const RECT& outer, LONG style, UINT* state) {
    int s = outer.bottom - outer.top;
    RECT box = {outer.left, outer.top, outer.left + s, outer.bottom};
    int type = static_cast<int>(style & 0xFF);
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
        InflateRect(&box, -(s / 4), -(s / 4));
        box.top -= 1;
        box.left -= s / 8;
        box.right -= s / 7;
        box.bottom -= 3;
        *state = DFCS_BUTTONCHECK;
    } else {
        InflateRect(&box, -(s / 12), -(s / 12));
        box.left -= 1;
        box.top += 1;
        box.right -= s / 5;
        box.bottom -= 2;
        *state = (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) ? DFCS_BUTTONRADIO
                                                                         : DFCS_BUTTONCHECK;
    }
    return box;
}

}  // namespace

void PaintCheckBox(HWND checkBox, HDC dc) {
    bool ticked = SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;

    RECT outer;
    GetClientRect(checkBox, &outer);
    InflateRect(&outer, 2, 2);
    FillRect(dc, &outer, GetSysColorBrush(COLOR_BTNFACE));

    UINT state = 0;
    RECT box = BoxRect(outer, GetWindowLongA(checkBox, GWL_STYLE), &state);
    if (ticked) state |= DFCS_CHECKED;
    bool enabled = IsWindowEnabled(checkBox);
    if (!enabled) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);

    char windowText[kCheckBoxTextSize];
    const char* caption = CheckBoxCaption(GetDlgCtrlID(checkBox));
    if (caption == nullptr) {
        ReadWholeWindowText(checkBox, windowText, kCheckBoxTextSize);
        caption = windowText;
    }
    TextExtent extent = MeasureMixedText(dc, caption);
    // One box width right of the box, near the top rather than centred.
    int x = 2 * box.right - box.left;
    int y = outer.top + ScaleToGlyphCell(kCaptionTopAt16);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawMixedText(dc, x, y, caption);

    if (GetFocus() == checkBox) {
        RECT focus = {x, y, x + extent.width + 2, y + extent.height + 1};
        InflateRect(&focus, 1, 1);
        DrawFocusRect(dc, &focus);
    }
}

namespace {

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_previousButtonProc == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(g_previousButtonProc, window, message, wParam, lParam);
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc) PaintCheckBox(window, dc);
    EndPaint(window, &paint);
    return 0;
}

// The standard button draws its own pressed state on a click; the whole box
// is repainted afterwards so the custom painting is what stays.
LRESULT OnLeftButtonDown(HWND window, WPARAM wParam, LPARAM lParam) {
    InvalidateRect(window, nullptr, TRUE);
    return PassOn(window, WM_LBUTTONDOWN, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        return OnPaint(window);
    case WM_LBUTTONDOWN:
        return OnLeftButtonDown(window, wParam, lParam);
    default:
        return PassOn(window, message, wParam, lParam);
    }
}
