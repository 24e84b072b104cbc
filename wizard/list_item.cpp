// The list item painter: the lines of the Chinese agreement (list 1019) and
// the names of the language list (combo box 1031). Both hold GB2312 text that
// Windows could not draw on a system without Chinese support, so every item
// is drawn through the glyph font, in the window colours of the user's
// scheme. The agreement list has no selection; a selected language is drawn
// in the highlight colours.

#include "glyph/glyph.h"
#include "runtime/heap.h"
#include "wizard/owner_draw.h"
#include "wizard/whole_characters.h"

namespace {

// Item texts are short (agreement lines, language names); a longer one is
// shown up to its last whole character that fits.
constexpr int kItemTextSize = 260;

struct ListMessages {
    UINT count;
    UINT textLength;
    UINT text;
};

constexpr ListMessages kComboMessages = {CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT};
constexpr ListMessages kListMessages = {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};

// Window text on the window colour, or the highlight colours for the
// selected language; the list 1019 has no selection.
void FillItem(HDC dc, const RECT& r, bool selected) {
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
}

// Fetches item `index` into text[kItemTextSize]. The list messages copy the
// whole item with no bound, so a text too long for the buffer is fetched into
// a scratch buffer of its own size first and cut at a character boundary.
// Returns 0 when the item cannot be read.
int FetchItemText(HWND dialog, int controlId, const ListMessages& messages, UINT index,
                  char (&text)[kItemTextSize]) {
    LRESULT length = SendDlgItemMessageA(dialog, controlId, messages.textLength, index, 0);
    if (length < 0) return 0;
    if (length < kItemTextSize) {
        LRESULT got = SendDlgItemMessageA(dialog, controlId, messages.text, index,
                                          reinterpret_cast<LPARAM>(text));
        if (got < 0 || got >= kItemTextSize) return 0;
        text[got] = '\0';
        return 1;
    }
    char* whole = static_cast<char*>(AllocateBlock(static_cast<size_t>(length) + 1));
    if (whole == nullptr) return 0;
    LRESULT got = SendDlgItemMessageA(dialog, controlId, messages.text, index,
                                      reinterpret_cast<LPARAM>(whole));
    int ok = got >= 0 && got <= length;
    if (ok) {
        whole[got] = '\0';
        CopyWholeCharacters(text, whole);
    }
    FreeBlock(whole);
    return ok;
}

}  // namespace

void PaintListItem(int controlId, int isCombo, const DRAWITEMSTRUCT* item, HWND dialog) {
    if (item == nullptr) return;
    RECT r = item->rcItem;
    HDC dc = item->hDC;
    int saved = SaveDC(dc);
    bool selected = (item->itemState & ODS_SELECTED) != 0;
    FillItem(dc, r, selected);

    // An empty list asks for item -1: it gets the fill and no text.
    const ListMessages& messages = isCombo ? kComboMessages : kListMessages;
    LRESULT count = SendDlgItemMessageA(dialog, controlId, messages.count, 0, 0);
    char text[kItemTextSize];
    if (count > 0 && item->itemID < static_cast<UINT>(count) &&
        FetchItemText(dialog, controlId, messages, item->itemID, text)) {
        InflateRect(&r, -2, -2);
        DrawMixedText(dc, r.left, r.top, text);
    }
    RestoreDC(dc, saved);
}
