// The owner-drawn button painter: every push button and every Chinese label of
// the wizard, the message box and the folder chooser. A push button gets two
// nested one-pixel rings (light top-left, dark bottom-right; swapped while
// pressed) and an outer edge, which is a black frame on the default button so
// the user sees what Enter presses. Labels are flat. The caption comes from
// the caption table by control identifier and is drawn through the glyph font.
#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/captions.h"
#include "wizard/owner_draw.h"
#include "wizard/whole_characters.h"

namespace {

// Room for the longest text a label is given: the message box's Chinese line
// carries a whole path (a MAX_PATH-bounded message).
constexpr int kWindowTextSize = MAX_PATH;

// A solid one-pixel pen, deleted when it goes out of scope.
struct SolidPen {
    explicit SolidPen(COLORREF colour) : pen(CreatePen(PS_SOLID, 1, colour)) {}
    ~SolidPen() {
        if (pen) DeleteObject(pen);
    }
    SolidPen(const SolidPen&) = delete;
    SolidPen& operator=(const SolidPen&) = delete;
    HPEN pen;
};

// The two rings inside the edge and the outer edge; LineTo leaves out each
// line's end point, which the coordinates below account for.
void DrawBevel(HDC dc, const RECT& r, bool pressed, bool isDefault) {
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    SolidPen topLeft(pressed ? dark : light);
    SolidPen bottomRight(pressed ? light : dark);
    HGDIOBJ kept = SelectObject(dc, topLeft.pen);

    for (int i = 1; i <= 2; ++i) {
        MoveToEx(dc, r.left + i, r.bottom - i - 1, nullptr);
        LineTo(dc, r.left + i, r.top + i);
        LineTo(dc, r.right - i - 1, r.top + i);
        SelectObject(dc, bottomRight.pen);
        LineTo(dc, r.right - i - 1, r.bottom - i - 1);
        LineTo(dc, r.left + i, r.bottom - i - 1);
        SelectObject(dc, topLeft.pen);
    }

    if (isDefault) {
        // A black frame round the whole button and a second black line inside
        // its bottom and right edges.
        SelectObject(dc, GetStockObject(BLACK_PEN));
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left, r.bottom - 1);
        MoveToEx(dc, r.left + 1, r.bottom - 2, nullptr);
        LineTo(dc, r.right - 2, r.bottom - 2);
        LineTo(dc, r.right - 2, r.top + 1);
    } else {
        SelectObject(dc, bottomRight.pen);
        MoveToEx(dc, r.left + 1, r.bottom - 1, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.right - 1, r.top);
    }
    SelectObject(dc, kept);
}

// The sample line is the one text drawn with a real Windows GB2312 font:
// whether it reads correctly is the question the user answers. Without that
// font it stays blank.
void DrawSampleLine(HDC dc, int x, int y, const char* text) {
    if (!g_gb2312Font) return;
    HGDIOBJ kept = SelectObject(dc, g_gb2312Font);
    DrawGB2312Text(dc, x, y, text, lstrlenA(text));
    SelectObject(dc, kept);
}

void DrawCaption(const DRAWITEMSTRUCT& item, const OwnerDrawCaption& row, bool left,
                 bool pressed) {
    char windowText[kWindowTextSize];
    const char* caption = row.text;
    if (row.kind == kCaptionNextButton) {
        caption = NextButtonCaption(g_wizardPage);
    } else if (row.kind == kCaptionWindowText) {
        ReadWholeWindowText(item.hwndItem, windowText, kWindowTextSize);
        caption = windowText;
    }

    const RECT& r = item.rcItem;
    TextExtent extent = MeasureMixedText(item.hDC, caption);
    int x = left ? r.left : r.left + (r.right - r.left - extent.width) / 2;
    int y = r.top + (r.bottom - r.top - extent.height) / 2;
    if (pressed) {
        x += 2;
        y += 1;
    }
    if (row.kind == kCaptionSampleLine) {
        DrawSampleLine(item.hDC, x, y, caption);
    } else {
        DrawMixedText(item.hDC, x, y, caption);
    }
}

// The focus rectangle stands a tenth of the width and an eighth of the
// height inside the control.
void DrawFocusInside(HDC dc, const RECT& item) {
    RECT r = item;
    int dx = (r.right - r.left) / 10;
    int dy = (r.bottom - r.top) / 8;
    r.left += dx;
    r.right -= dx;
    r.top += dy;
    r.bottom -= dy;
    DrawFocusRect(dc, &r);
}

}  // namespace

void PaintOwnerDrawButton(const DRAWITEMSTRUCT* item, HWND /*owner*/) {
    if (item == nullptr || item->CtlType != ODT_BUTTON) return;
    // The marks come from the identifier Windows reports for the item, the
    // caption from the control window itself; both name the same control.
    const OwnerDrawCaption& marks = OwnerDrawCaptionOf(static_cast<int>(item->CtlID));
    const OwnerDrawCaption& row = OwnerDrawCaptionOf(GetDlgCtrlID(item->hwndItem));
    if (row.kind == kCaptionNeverPainted || marks.kind == kCaptionNeverPainted) return;

    if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        bool pressed = (item->itemState & ODS_SELECTED) != 0;
        bool bevelled = !marks.flat && !row.flat;
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        if (bevelled) {
            DrawBevel(item->hDC, item->rcItem, pressed, item->CtlID == IDC_NEXT);
        }
        // The button text colour of the user's scheme on its face; a disabled
        // push button greys its caption. Labels are disabled only so that they
        // take no clicks, and read as text.
        bool greyed = bevelled && (item->itemState & ODS_DISABLED);
        SetTextColor(item->hDC, GetSysColor(greyed ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawCaption(*item, row, marks.left, pressed);
    }
    if (item->itemState & ODS_FOCUS) {
        DrawFocusInside(item->hDC, item->rcItem);
    }
}
