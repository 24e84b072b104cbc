// See layout_units.h.
#include "wizard/layout_units.h"

namespace {

// The dialog units of MS Sans Serif 8 at 96 DPI as the layout was made in,
// 7 x 13; the font grows with the DPI.
constexpr DialogUnits kLayoutUnitsAt96 = {7, 13};
constexpr int kBaseDpi = 96;
// A probe of this many dialog units gives the system's units with their
// fractions.
constexpr int kProbeUnits = 400;

// Pixels of `units` dialog units along one axis, given base units per `per`.
struct Scale {
    int wanted;   // pixels the layout means for the probe
    int got;      // pixels the system gave it
    int Apply(int pixels) const { return MulDiv(pixels, wanted, got); }
};

struct ChildScaling {
    Scale x;
    Scale y;
    HWND dialog;
};

// Moves one control to its rectangle in the layout's units. A combo box's
// window is as high as its field and its drop-down list together.
BOOL CALLBACK ScaleChild(HWND child, LPARAM parameter) {
    const ChildScaling& s = *reinterpret_cast<const ChildScaling*>(parameter);
    if (GetParent(child) != s.dialog) return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "ComboBox") == 0) {
        RECT dropped;
        if (SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) &&
            dropped.bottom > r.bottom) {
            r.bottom = dropped.bottom;
        }
    }
    MapWindowPoints(nullptr, s.dialog, reinterpret_cast<POINT*>(&r), 2);
    const int left = s.x.Apply(r.left);
    const int top = s.y.Apply(r.top);
    MoveWindow(child, left, top, s.x.Apply(r.right) - left, s.y.Apply(r.bottom) - top, FALSE);
    return TRUE;
}

bool IsFarEasternCharset(BYTE charset) {
    return charset == SHIFTJIS_CHARSET || charset == HANGEUL_CHARSET || charset == GB2312_CHARSET ||
           charset == CHINESEBIG5_CHARSET || charset == JOHAB_CHARSET;
}

}  // namespace

DialogUnits LayoutUnitsForDpi(int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    return {MulDiv(kLayoutUnitsAt96.x, dpi, kBaseDpi), MulDiv(kLayoutUnitsAt96.y, dpi, kBaseDpi)};
}

bool DialogFontIsFarEastern(HWND dialog) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    HDC dc = GetDC(dialog);
    if (!dc) return false;
    HGDIOBJ kept = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics;
    bool farEastern = GetTextMetricsA(dc, &metrics) && IsFarEasternCharset(metrics.tmCharSet);
    if (kept) SelectObject(dc, kept);
    ReleaseDC(dialog, dc);
    return farEastern;
}

void FitToLayoutUnits(HWND dialog) {
    if (!DialogFontIsFarEastern(dialog)) return;
    int dpi = kBaseDpi;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    const DialogUnits layout = LayoutUnitsForDpi(dpi);
    RECT probe;
    probe.left = probe.top = 0;
    probe.right = probe.bottom = kProbeUnits;
    MapDialogRect(dialog, &probe);
    ChildScaling s;
    s.x = {kProbeUnits * layout.x / 4, probe.right};
    s.y = {kProbeUnits * layout.y / 8, probe.bottom};
    s.dialog = dialog;
    if (s.x.got <= 0 || s.y.got <= 0 || (s.x.wanted == s.x.got && s.y.wanted == s.y.got)) return;

    RECT window;
    RECT client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    SetWindowPos(dialog, nullptr, 0, 0,
                 window.right - window.left + s.x.Apply(client.right) - client.right,
                 window.bottom - window.top + s.y.Apply(client.bottom) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EnumChildWindows(dialog, ScaleChild, reinterpret_cast<LPARAM>(&s));
}
