// The owner-drawn button painter, painted into memory DCs and read back pixel
// by pixel: the bevel rings and their colours, the default button's black
// frame, the caption chosen by identifier (and by wizard page for 1001) at its
// place, the pressed offset, the focus rectangle, and the controls that must
// be left alone. Captions are checked against a reference drawing of the
// expected text at the expected position on a plain face.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/captions.h"
#include "wizard/owner_draw.h"
#include "wizard/paint_canvas.h"

namespace {

constexpr COLORREF kUntouched = RGB(255, 0, 255);

class ButtonPainterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_instance = GetModuleHandleA(nullptr);
        ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
        parent_ = CreateTestParent(10, 10, 600, 200);
        ASSERT_NE(parent_, nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(parent_);
        ReleaseGlyphFont();
    }
    void SetUp() override { g_wizardPage = 0; }
    void TearDown() override {
        if (control_) DestroyWindow(control_);
        control_ = nullptr;
    }

    // An owner-drawn button with identifier `id` and window text `text`.
    HWND Control(int id, const char* text = "") {
        if (control_) DestroyWindow(control_);
        control_ = CreateTestControl(parent_, "Button", text, BS_OWNERDRAW, id, 0, 0, 50, 20);
        return control_;
    }

    static DRAWITEMSTRUCT Item(HWND control, const Canvas& canvas, UINT action, UINT state,
                               UINT type = ODT_BUTTON) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = type;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
        item.itemAction = action;
        item.itemState = state;
        item.hwndItem = control;
        item.hDC = canvas.dc;
        item.rcItem = {0, 0, canvas.width, canvas.height};
        return item;
    }

    void Paint(int id, const Canvas& canvas, UINT state = 0, const char* text = "",
               UINT action = ODA_DRAWENTIRE) {
        DRAWITEMSTRUCT item = Item(Control(id, text), canvas, action, state);
        // The painter takes its colours from the scheme, not from the DC.
        SetTextColor(canvas.dc, RGB(0, 160, 0));
        PaintOwnerDrawButton(&item, parent_);
    }

    static HWND parent_;
    HWND control_ = nullptr;
};

HWND ButtonPainterTest::parent_ = nullptr;

// Pixels of the inclusive segment (x0, y0)-(x1, y1), horizontal or vertical,
// that do not have `colour`.
int Mismatches(const Canvas& canvas, int x0, int y0, int x1, int y1, COLORREF colour) {
    RECT segment = {x0, y0, x1 + 1, y1 + 1};
    return (x1 - x0 + 1) * (y1 - y0 + 1) - CountColour(canvas, segment, colour);
}

TEST_F(ButtonPainterTest, RingsAreLightTopLeftAndDarkBottomRightSwappedWhenPressed) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(light, dark);
    ASSERT_NE(face, dark);
    ASSERT_NE(face, light);

    const int W = 100, H = 30;
    for (bool pressed : {false, true}) {
        SCOPED_TRACE(pressed ? "pressed" : "raised");
        Canvas canvas(W, H, kUntouched);
        Paint(IDC_CANCEL, canvas, pressed ? ODS_SELECTED : 0);
        const COLORREF topLeft = pressed ? dark : light;
        const COLORREF bottomRight = pressed ? light : dark;
        for (int i = 1; i <= 2; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(Mismatches(canvas, i, i, i, H - i - 1, topLeft), 0) << "left";
            EXPECT_EQ(Mismatches(canvas, i, i, W - i - 2, i, topLeft), 0) << "top";
            EXPECT_EQ(Mismatches(canvas, W - i - 1, i, W - i - 1, H - i - 2, bottomRight), 0)
                << "right";
            EXPECT_EQ(Mismatches(canvas, i + 1, H - i - 1, W - i - 1, H - i - 1, bottomRight), 0)
                << "bottom";
        }
        // The outer edge: a line along the bottom and right, face elsewhere.
        EXPECT_EQ(Mismatches(canvas, 1, H - 1, W - 1, H - 1, bottomRight), 0);
        EXPECT_EQ(Mismatches(canvas, W - 1, 1, W - 1, H - 1, bottomRight), 0);
        EXPECT_EQ(Mismatches(canvas, 0, 0, 0, H - 1, face), 0);
        EXPECT_EQ(Mismatches(canvas, 0, 0, W - 1, 0, face), 0);
        // Inside the rings: the face and the caption, nothing left unpainted.
        EXPECT_EQ(CountColour(canvas, {0, 0, W, H}, kUntouched), 0);
    }
}

TEST_F(ButtonPainterTest, OnlyTheDefaultButtonHasTheBlackFrame) {
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    const int W = 220, H = 30;
    for (int page : {0, 3}) {
        g_wizardPage = page;
        Canvas canvas(W, H, kUntouched);
        Paint(IDC_NEXT, canvas);
        SCOPED_TRACE(page);
        EXPECT_EQ(Mismatches(canvas, 0, 0, 0, H - 1, black), 0) << "left";
        EXPECT_EQ(Mismatches(canvas, 0, 0, W - 1, 0, black), 0) << "top";
        EXPECT_EQ(Mismatches(canvas, W - 1, 0, W - 1, H - 1, black), 0) << "right";
        EXPECT_EQ(Mismatches(canvas, 0, H - 1, W - 1, H - 1, black), 0) << "bottom";
        EXPECT_EQ(Mismatches(canvas, 1, H - 2, W - 2, H - 2, black), 0) << "inner bottom";
        EXPECT_EQ(Mismatches(canvas, W - 2, 2, W - 2, H - 2, black), 0) << "inner right";
        // The rings inside the frame are still there.
        EXPECT_EQ(Mismatches(canvas, 1, 1, 1, H - 3, light), 0);
        EXPECT_EQ(Mismatches(canvas, W - 3, 2, W - 3, H - 4, dark), 0);
    }

    const int others[] = {IDC_OK, IDC_CANCEL, IDC_BACK, IDC_ANSWER_YES, IDC_ANSWER_NO, IDC_BROWSE, 4242};
    for (int id : others) {
        SCOPED_TRACE(id);
        Canvas canvas(W, H, kUntouched);
        Paint(id, canvas, 0, "Other");
        EXPECT_GT(CountColour(canvas, {0, 0, W, H}, black), 0);  // the caption
        EXPECT_EQ(Mismatches(canvas, 0, 0, 0, H - 1, face), 0);
        EXPECT_EQ(Mismatches(canvas, 0, 0, W - 1, 0, face), 0);
        EXPECT_EQ(Mismatches(canvas, 1, H - 1, W - 1, H - 1, dark), 0);
        EXPECT_EQ(Mismatches(canvas, W - 1, 1, W - 1, H - 1, dark), 0);
    }
}

struct CaptionCase {
    const char* name;
    int id;
    const char* windowText;
    int page;
    UINT state;
    const char* caption;  // what must be drawn
    bool left;
    bool bevel;           // compare inside the rings only
    int width;
    int height;
    bool grey = false;    // drawn in the grey text colour
};

// Tests are named by their case.
void PrintTo(const CaptionCase& c, std::ostream* out) { *out << c.name; }

// Labels are disabled controls and are drawn like enabled ones; a disabled
// push button greys its caption.
const CaptionCase kCaptionCases[] = {
    {"next page 0", IDC_NEXT, "", 0, 0, "下一步 Next", false, true, 160, 27},
    {"next page 2", IDC_NEXT, "", 2, 0, "下一步 Next", false, true, 160, 27},
    {"install page 3", IDC_NEXT, "", 3, 0, "同意/安装 Agree/Install", false, true, 160, 27},
    {"installing", IDC_NEXT, "", 99, 0, "同意/安装 Agree/Install", false, true, 160, 27},
    {"ok", IDC_OK, "x", 0, 0, "确认 OK", false, true, 110, 29},
    {"cancel pressed", IDC_CANCEL, "", 0, ODS_SELECTED, "取消 Cancel", false, true, 110, 29},
    {"back", IDC_BACK, "", 0, 0, "退一步 Back", false, true, 102, 26},
    {"yes", IDC_ANSWER_YES, "", 0, 0, "是 Yes", false, true, 110, 29},
    {"no pressed", IDC_ANSWER_NO, "", 0, ODS_SELECTED, "否 No", false, true, 110, 29},
    {"browse", IDC_BROWSE, "", 0, 0, "改变 Browse ....", false, true, 114, 26},
    {"folder label", IDC_FOLDER_LABEL, "", 0, ODS_DISABLED, "安装路径： (Install Path)", true,
     false, 335, 26},
    {"directories label", IDC_CHOOSER_DIRS_LABEL, "", 0, ODS_DISABLED, "路径 (Directories):",
     true, false, 179, 26},
    {"drives label", IDC_CHOOSER_DRIVES_LABEL, "", 0, ODS_DISABLED, "磁盘 (Drives):", true, false,
     116, 26},
    {"family title", IDC_FAMILY_TITLE, "", 0, ODS_DISABLED, "《泽柯宁》 Zelko", false, false, 182,
     26},
    {"edition", IDC_EDITION_NAME, "", 0, ODS_DISABLED, "灵墨笺 Scrivora", false, false, 182, 26},
    {"setup name", IDC_SETUP_NAME, "", 0, ODS_DISABLED, "安装程序", false, false, 182, 26},
    {"question", IDC_DISPLAY_QUESTION, "", 0, ODS_DISABLED,
     "以上中文显示正确吗 (Is the Above Chinese Display OK)?", false, false, 420, 26},
    {"language label", IDC_LANGUAGE_LABEL, "", 0, ODS_DISABLED,
     "User Interface Language 用户界面语言", false, false, 345, 26},
    {"bottom strip", IDC_BOTTOM_STRIP, "text", 0, ODS_DISABLED, "", true, false, 477, 26},
    {"message line", IDC_MESSAGE_CHINESE, "请您回答提问.", 0, ODS_DISABLED, "请您回答提问.", false,
     false, 300, 48},
    {"other id", 4242, "Other 其他", 0, 0, "Other 其他", false, true, 120, 26},
    {"back disabled", IDC_BACK, "", 0, ODS_DISABLED, "退一步 Back", false, true, 102, 26, true},
};

class CaptionTest : public ButtonPainterTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionTest, CaptionIsChosenByIdentifierAndPlaced) {
    const CaptionCase& c = GetParam();
    g_wizardPage = c.page;
    Canvas painted(c.width, c.height, kUntouched);
    Paint(c.id, painted, c.state, c.windowText);

    // The expected caption on a plain face: at the left edge or centred,
    // 16 high and centred vertically, 2 right and 1 down when pressed.
    Canvas expected(c.width, c.height, GetSysColor(COLOR_BTNFACE));
    const COLORREF ink = GetSysColor(c.grey ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    SetTextColor(expected.dc, ink);
    int w = MeasureMixedText(expected.dc, c.caption).width;
    int x = c.left ? 0 : (c.width - w) / 2;
    int y = (c.height - 16) / 2;
    if (c.state & ODS_SELECTED) {
        x += 2;
        y += 1;
    }
    DrawMixedText(expected.dc, x, y, c.caption);

    RECT compared = c.bevel ? RECT{3, 3, c.width - 3, c.height - 3} : RECT{0, 0, c.width, c.height};
    std::string where;
    EXPECT_EQ(CountDifferences(painted, expected, compared, &where), 0) << where;
    // The comparison means something only when there is a caption to see.
    if (c.caption[0]) {
        EXPECT_GT(CountColour(expected, compared, ink), 20);
    }
}

INSTANTIATE_TEST_SUITE_P(Captions, CaptionTest, ::testing::ValuesIn(kCaptionCases),
                         [](const ::testing::TestParamInfo<CaptionCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

// The captions are GB2312 bytes in the program (the hex written out here
// comes from a GB2312 encoder, not from this compiler).
TEST(CaptionBytes, CaptionsAreGb2312) {
    const struct {
        const char* caption;
        const char* hex;
    } cases[] = {
        {NextButtonCaption(0), "CF C2 D2 BB B2 BD 20 4E 65 78 74"},
        {NextButtonCaption(3),
         "CD AC D2 E2 2F B0 B2 D7 B0 20 41 67 72 65 65 2F 49 6E 73 74 61 6C 6C"},
        {CheckBoxCaption(IDC_DESKTOP_ICONS),
         "BD A8 C1 A2 D7 C0 C3 E6 CD BC B1 EA A3 BF 20 20 28 50 6C 61 63 65 20 61 6E 20 69 63 6F 6E "
         "20 6F 6E 20 44 65 73 6B 74 6F 70 29"},
        {OwnerDrawCaptionOf(IDC_FOLDER_LABEL).text,
         "B0 B2 D7 B0 C2 B7 BE B6 A3 BA 20 28 49 6E 73 74 61 6C 6C 20 50 61 74 68 29"},
        {OwnerDrawCaptionOf(IDC_FAMILY_TITLE).text, "A1 B6 D4 F3 BF C2 C4 FE A1 B7 20 5A 65 6C 6B 6F"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.caption, nullptr);
        std::string hex;
        for (const char* p = c.caption; *p; ++p) {
            char byte[4];
            snprintf(byte, sizeof byte, hex.empty() ? "%02X" : " %02X",
                     static_cast<unsigned char>(*p));
            hex += byte;
        }
        EXPECT_EQ(hex, c.hex);
    }
}

// The message box's Chinese line can carry a whole Start-menu path: it is
// shown whole, and a text longer than the label's buffer keeps its whole
// characters only.
TEST_F(ButtonPainterTest, MessageLineShowsItsWholeText) {
    std::string path =
        "无法建目录(C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Zelko Scrivora "
        "Input Method)!";
    ASSERT_GT(path.size(), 79u);
    std::string overlong;
    for (int i = 0; i < 130; ++i) overlong += "一";  // 260 bytes
    std::string kept = overlong.substr(0, 258);       // 129 whole characters

    struct {
        const std::string& text;
        const std::string& shown;
    } cases[] = {{path, path}, {overlong, kept}};
    for (const auto& c : cases) {
        const int W = 2200, H = 48;
        Canvas painted(W, H, kUntouched);
        Paint(IDC_MESSAGE_CHINESE, painted, ODS_DISABLED, c.text.c_str());
        Canvas expected(W, H, GetSysColor(COLOR_BTNFACE));
        int w = MeasureMixedText(expected.dc, c.shown.c_str()).width;
        DrawMixedText(expected.dc, (W - w) / 2, (H - 16) / 2, c.shown.c_str());
        std::string where;
        EXPECT_EQ(CountDifferences(painted, expected, {0, 0, W, H}, &where), 0)
            << c.text.size() << " bytes: " << where;
    }
}

// The sample line is drawn with the real GB2312 font, and not at all
// without it.
TEST_F(ButtonPainterTest, SampleLineUsesTheGb2312Font) {
    const char* sample = "日出江花红胜火";
    const int W = 320, H = 40;
    CreateGB2312Font();
    ASSERT_NE(g_gb2312Font, nullptr);
    {
        Canvas painted(W, H, kUntouched);
        Paint(IDC_SAMPLE_LINE, painted, ODS_DISABLED);
        Canvas expected(W, H, GetSysColor(COLOR_BTNFACE));
        int w = MeasureMixedText(expected.dc, sample).width;
        HGDIOBJ kept = SelectObject(expected.dc, g_gb2312Font);
        DrawGB2312Text(expected.dc, (W - w) / 2, (H - 16) / 2, sample, lstrlenA(sample));
        SelectObject(expected.dc, kept);
        std::string where;
        EXPECT_EQ(CountDifferences(painted, expected, {0, 0, W, H}, &where), 0) << where;
        // The font handle is back out of the control's DC.
        EXPECT_NE(GetCurrentObject(painted.dc, OBJ_FONT), g_gb2312Font);
    }
    DeleteObject(g_gb2312Font);
    g_gb2312Font = nullptr;
    Canvas blank(W, H, kUntouched);
    Paint(IDC_SAMPLE_LINE, blank, ODS_DISABLED);
    EXPECT_EQ(CountColour(blank, {0, 0, W, H}, GetSysColor(COLOR_BTNFACE)), W * H);
}

TEST_F(ButtonPainterTest, FocusRectangleStandsATenthAndAnEighthInside) {
    const int W = 200, H = 40;
    const RECT focus = {W / 10, H / 8, W - W / 10, H - H / 8};  // (20, 5, 180, 35)

    // With the whole button.
    Canvas painted(W, H, kUntouched);
    Paint(IDC_CANCEL, painted, ODS_FOCUS);
    Canvas expected(W, H, kUntouched);
    Paint(IDC_CANCEL, expected, 0);
    DrawFocusRect(expected.dc, &focus);
    std::string where;
    EXPECT_EQ(CountDifferences(painted, expected, {0, 0, W, H}, &where), 0) << where;

    // A focus change alone draws only the rectangle.
    Canvas white(W, H, RGB(255, 255, 255));
    Paint(IDC_CANCEL, white, ODS_FOCUS, "", ODA_FOCUS);
    Canvas onlyFocus(W, H, RGB(255, 255, 255));
    DrawFocusRect(onlyFocus.dc, &focus);
    // The dotted line along the top shows.
    const int topLength = focus.right - focus.left;
    ASSERT_LT(CountColour(onlyFocus, {focus.left, focus.top, focus.right, focus.top + 1},
                          RGB(255, 255, 255)),
              topLength);
    where.clear();
    EXPECT_EQ(CountDifferences(white, onlyFocus, {0, 0, W, H}, &where), 0) << where;

    // Losing the focus draws nothing.
    Canvas lost(W, H, kUntouched);
    Paint(IDC_CANCEL, lost, 0, "", ODA_FOCUS);
    EXPECT_EQ(CountColour(lost, {0, 0, W, H}, kUntouched), W * H);
}

TEST_F(ButtonPainterTest, LeavesAloneTheUnpaintedAreaAndOtherControlTypes) {
    const int W = 120, H = 26;
    struct {
        int id;
        UINT type;
        UINT action;
        UINT state;
    } cases[] = {
        {IDC_UNPAINTED_AREA, ODT_BUTTON, ODA_DRAWENTIRE, ODS_FOCUS | ODS_SELECTED},
        {IDC_UNPAINTED_AREA, ODT_BUTTON, ODA_FOCUS, ODS_FOCUS},
        {IDC_CANCEL, ODT_STATIC, ODA_DRAWENTIRE, ODS_FOCUS},
        {IDC_CANCEL, ODT_LISTBOX, ODA_DRAWENTIRE, ODS_FOCUS},
        {IDC_CANCEL, ODT_COMBOBOX, ODA_SELECT, ODS_FOCUS},
        {IDC_CANCEL, ODT_MENU, ODA_DRAWENTIRE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " type " << c.type << " action " << c.action);
        Canvas canvas(W, H, kUntouched);
        DRAWITEMSTRUCT item = Item(Control(c.id, "text"), canvas, c.action, c.state, c.type);
        PaintOwnerDrawButton(&item, parent_);
        EXPECT_EQ(CountColour(canvas, {0, 0, W, H}, kUntouched), W * H);
    }
}

}  // namespace
