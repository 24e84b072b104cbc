// The list item painter on the language combo box and the agreement list:
// item colours (a selected combo item's glyph strokes in the highlight-text
// colour on the highlight colour, others in window colours), the text 2
// pixels in from the item's corner, empty lists, and items too long for the
// painter's buffer.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/owner_draw.h"
#include "wizard/paint_canvas.h"

namespace {

constexpr int kItemWidth = 200;
constexpr int kItemHeight = 23;
// Four glyphs, no single bytes: every stroke pixel comes from the glyph font.
constexpr char kGlyphsOnly[] = "中文简体";


class ListItemTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_instance = GetModuleHandleA(nullptr);
        ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
    }
    static void TearDownTestSuite() { ReleaseGlyphFont(); }
    void SetUp() override {
        parent_ = CreateTestParent(40, 40, 400, 300);
        ASSERT_NE(parent_, nullptr);
        combo_ = CreateTestControl(parent_, "ComboBox", "",
                                   WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                   IDC_LANGUAGE_LIST, 10, 10, 300, 200);
        list_ = CreateTestControl(parent_, "ListBox", "",
                                  WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOSEL,
                                  IDC_AGREEMENT_CN_LIST, 10, 60, 300, 200);
        ASSERT_NE(combo_, nullptr);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    void AddItems(std::initializer_list<const char*> items) {
        for (const char* item : items) {
            SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
    }

    // Paints item `index` of the combo box (or the list) into `canvas`.
    void PaintItem(bool combo, UINT index, bool selected, const Canvas& canvas) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = combo ? ODT_COMBOBOX : ODT_LISTBOX;
        item.CtlID = combo ? IDC_LANGUAGE_LIST : IDC_AGREEMENT_CN_LIST;
        item.itemID = index;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = selected ? ODS_SELECTED : 0;
        item.hwndItem = combo ? combo_ : list_;
        item.hDC = canvas.dc;
        item.rcItem = {0, 0, canvas.width, canvas.height};
        // The painter takes its colours from the scheme, not from the DC.
        SetTextColor(canvas.dc, RGB(0, 160, 0));
        PaintListItem(static_cast<int>(item.CtlID), combo ? 1 : 0, &item, parent_);
    }

    HWND parent_ = nullptr;
    HWND combo_ = nullptr;
    HWND list_ = nullptr;
};

struct ColourCase {
    const char* name;
    bool combo;
    bool selected;
    int fill;       // system colour of the item
    int ink;        // system colour of the text
};

TEST_F(ListItemTest, GlyphStrokesTakeTheItemsColours) {
    AddItems({"English 英文", kGlyphsOnly});
    const ColourCase cases[] = {
        {"combo selected", true, true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
        {"combo unselected", true, false, COLOR_WINDOW, COLOR_WINDOWTEXT},
        {"agreement list", false, false, COLOR_WINDOW, COLOR_WINDOWTEXT},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.name);
        const COLORREF fill = GetSysColor(c.fill);
        const COLORREF text = GetSysColor(c.ink);
        const COLORREF stroke = text;
        ASSERT_NE(stroke, fill);

        Canvas canvas(kItemWidth, kItemHeight, RGB(255, 0, 255));
        PaintItem(c.combo, 1, c.selected, canvas);
        // Four 16 x 16 glyphs from (2, 2); only fill around them.
        const RECT glyphs = {2, 2, 2 + 4 * 16, 2 + 16};
        const int all = kItemWidth * kItemHeight;
        const int strokes = CountColour(canvas, glyphs, stroke);
        EXPECT_GT(strokes, 40);
        EXPECT_EQ(CountColour(canvas, {0, 0, kItemWidth, kItemHeight}, fill) + strokes, all);
        EXPECT_GE(InkBounds(canvas, {0, 0, kItemWidth, kItemHeight}, fill).left, 2);

        // Stroke for stroke, the glyphs of the text drawn at (2, 2).
        Canvas expected(kItemWidth, kItemHeight, fill);
        SetTextColor(expected.dc, text);
        SetBkColor(expected.dc, fill);
        DrawMixedText(expected.dc, 2, 2, kGlyphsOnly);
        std::string where;
        EXPECT_EQ(CountDifferences(canvas, expected, {0, 0, kItemWidth, kItemHeight}, &where), 0)
            << where;
    }
}

// An empty control asks for item -1; an index past the end is no item
// either. Both get the fill and no text.
TEST_F(ListItemTest, NoItemFillsWithoutText) {
    struct {
        bool combo;
        bool selected;
        UINT index;
        int fill;
        bool withItems;
    } cases[] = {
        {true, true, static_cast<UINT>(-1), COLOR_HIGHLIGHT, false},
        {true, false, static_cast<UINT>(-1), COLOR_WINDOW, false},
        {false, false, static_cast<UINT>(-1), COLOR_WINDOW, false},
        {true, true, 2, COLOR_HIGHLIGHT, true},
        {false, false, 5, COLOR_WINDOW, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "combo " << c.combo << " index " << c.index);
        if (c.withItems && SendMessageA(combo_, CB_GETCOUNT, 0, 0) == 0) AddItems({"一", "二"});
        Canvas canvas(kItemWidth, kItemHeight, RGB(255, 0, 255));
        PaintItem(c.combo, c.index, c.selected, canvas);
        EXPECT_EQ(CountColour(canvas, {0, 0, kItemWidth, kItemHeight}, GetSysColor(c.fill)),
                  kItemWidth * kItemHeight);
    }
}

// An item longer than the painter's buffer shows the whole characters that
// fit (129 two-byte characters of 259 bytes) and nothing of the rest.
TEST_F(ListItemTest, OverlongItemShowsTheWholeCharactersThatFit) {
    std::string overlong;
    for (int i = 0; i < 140; ++i) overlong += "一";  // 280 bytes
    AddItems({overlong.c_str()});
    const int W = 2 + 140 * 16 + 20;
    for (bool combo : {true, false}) {
        SCOPED_TRACE(combo ? "combo" : "list");
        const COLORREF fill = GetSysColor(COLOR_WINDOW);
        Canvas canvas(W, kItemHeight, RGB(255, 0, 255));
        PaintItem(combo, 0, false, canvas);
        Canvas expected(W, kItemHeight, fill);
        SetTextColor(expected.dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(expected.dc, fill);
        DrawMixedText(expected.dc, 2, 2, overlong.substr(0, 258).c_str());
        std::string where;
        EXPECT_EQ(CountDifferences(canvas, expected, {0, 0, W, kItemHeight}, &where), 0) << where;
        // Ink up to the 129th glyph, none after it.
        EXPECT_GT(InkBounds(canvas, {0, 0, W, kItemHeight}, fill).right, 2 + 128 * 16);
        EXPECT_EQ(CountColour(canvas, {2 + 129 * 16, 0, W, kItemHeight}, fill),
                  (W - 2 - 129 * 16) * kItemHeight);
    }
}

}  // namespace
