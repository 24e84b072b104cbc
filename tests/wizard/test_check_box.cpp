// The subclassed check boxes: where the box stands for each button style and
// state, where the caption goes, the focus rectangle, and that a click leaves
// the custom painting on the screen. Expected pictures are drawn from the
// box rectangles and caption positions the painter must produce (client height 26: the
// check box (2, 4, 17, 18), the radio box (-1, 1, 20, 24)).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/owner_draw.h"
#include "wizard/paint_canvas.h"

namespace {

constexpr int kBoxWidth = 360;
constexpr int kBoxHeight = 26;

class CheckBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_instance = GetModuleHandleA(nullptr);
        ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
    }
    static void TearDownTestSuite() { ReleaseGlyphFont(); }
    void SetUp() override {
        parent_ = CreateTestParent(40, 40, kBoxWidth + 40, 80);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND Box(int id, DWORD style, const char* text = "") {
        HWND box = CreateTestControl(parent_, "Button", text, WS_VISIBLE | WS_TABSTOP | style, id,
                                     20, 20, kBoxWidth, kBoxHeight);
        g_previousButtonProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckBoxProc)));
        return box;
    }

    HWND parent_ = nullptr;
};

// The picture of a box: the face, the frame control at `box`, the caption
// one box width right of it at y 1 in the button text colour (grey when the
// box is disabled), and the focus rectangle when focused.
void DrawExpectedBox(const Canvas& canvas, RECT box, UINT state, const char* caption, bool focused) {
    RECT face = {0, 0, canvas.width, canvas.height};
    FillRect(canvas.dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    DrawFrameControl(canvas.dc, &box, DFC_BUTTON, state);
    int x = 2 * box.right - box.left;
    SetTextColor(canvas.dc, GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    int w = DrawMixedText(canvas.dc, x, 1, caption).width;
    if (focused) {
        RECT focus = {x - 1, 0, x + w + 3, 1 + 16 + 2};
        DrawFocusRect(canvas.dc, &focus);
    }
}

struct BoxCase {
    const char* name;
    int id;
    DWORD style;
    const char* windowText;
    WPARAM check;
    bool enabled;
    bool focused;
    RECT box;
    UINT state;
    const char* caption;
};

// Tests are named by their case.
void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }

constexpr RECT kCheckGeometry = {2, 4, 17, 18};
constexpr RECT kRadioGeometry = {-1, 1, 20, 24};

const BoxCase kBoxCases[] = {
    {"desktop unticked", IDC_DESKTOP_ICONS, BS_AUTOCHECKBOX, "x", BST_UNCHECKED, true, false,
     kCheckGeometry, DFCS_BUTTONCHECK, "建立桌面图标？  (Place an icon on Desktop)"},
    {"desktop ticked", IDC_DESKTOP_ICONS, BS_AUTOCHECKBOX, "x", BST_CHECKED, true, false,
     kCheckGeometry, DFCS_BUTTONCHECK | DFCS_CHECKED, "建立桌面图标？  (Place an icon on Desktop)"},
    {"ok ticked focused", IDC_DISPLAY_OK, BS_AUTOCHECKBOX, "", BST_CHECKED, true, true,
     kCheckGeometry, DFCS_BUTTONCHECK | DFCS_CHECKED, "正确(OK)"},
    {"bad inactive", IDC_DISPLAY_BAD, BS_CHECKBOX, "", BST_CHECKED, false, false, kCheckGeometry,
     DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, "不正确(NO)"},
    {"radio ticked", IDC_DISPLAY_OK, BS_AUTORADIOBUTTON, "", BST_CHECKED, true, false,
     kRadioGeometry, DFCS_BUTTONRADIO | DFCS_CHECKED, "正确(OK)"},
    {"radio inactive", IDC_DISPLAY_BAD, BS_RADIOBUTTON, "", BST_UNCHECKED, false, false,
     kRadioGeometry, DFCS_BUTTONRADIO | DFCS_INACTIVE, "不正确(NO)"},
    // Three states: the second geometry with a check mark; indeterminate is
    // not ticked. Other identifiers show their window text.
    {"three state", 4242, BS_AUTO3STATE, "Other 其他", BST_INDETERMINATE, true, false,
     kRadioGeometry, DFCS_BUTTONCHECK, "Other 其他"},
};

class BoxGeometryTest : public CheckBoxTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxGeometryTest, BoxAndCaptionStandWhereTheStyleSays) {
    const BoxCase& c = GetParam();
    HWND box = Box(c.id, c.style, c.windowText);
    SendMessageA(box, BM_SETCHECK, c.check, 0);
    EnableWindow(box, c.enabled);
    SetFocus(c.focused ? box : parent_);
    DispatchWaitingMessages();

    RECT client;
    GetClientRect(box, &client);
    ASSERT_EQ(client.bottom, kBoxHeight);
    Canvas painted(kBoxWidth, kBoxHeight, RGB(255, 0, 255));
    SetTextColor(painted.dc, RGB(0, 160, 0));  // the painter takes the scheme's colours
    PaintCheckBox(box, painted.dc);
    Canvas expected(kBoxWidth, kBoxHeight, RGB(255, 0, 255));
    DrawExpectedBox(expected, c.box, c.state, c.caption, c.focused);
    std::string where;
    EXPECT_EQ(CountDifferences(painted, expected, {0, 0, kBoxWidth, kBoxHeight}, &where), 0)
        << where;
}

INSTANTIATE_TEST_SUITE_P(Boxes, BoxGeometryTest, ::testing::ValuesIn(kBoxCases),
                         [](const ::testing::TestParamInfo<BoxCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

// The expected pictures must tell the states apart, or the table above
// could not catch a wrong state.
TEST_F(CheckBoxTest, StatesLookDifferent) {
    Canvas unticked(40, kBoxHeight, 0), ticked(40, kBoxHeight, 0), inactive(40, kBoxHeight, 0);
    DrawExpectedBox(unticked, kCheckGeometry, DFCS_BUTTONCHECK, "", false);
    DrawExpectedBox(ticked, kCheckGeometry, DFCS_BUTTONCHECK | DFCS_CHECKED, "", false);
    DrawExpectedBox(inactive, kCheckGeometry, DFCS_BUTTONCHECK | DFCS_INACTIVE, "", false);
    RECT all = {0, 0, 40, kBoxHeight};
    EXPECT_GT(CountDifferences(unticked, ticked, all), 0);
    EXPECT_GT(CountDifferences(unticked, inactive, all), 0);
}

// A click goes to the standard button (which ticks the box and takes the
// focus); what stays on the screen is the custom painting of the ticked box.
TEST_F(CheckBoxTest, ClickRepaintsWithTheCustomPainting) {
    HWND box = Box(IDC_DESKTOP_ICONS, BS_AUTOCHECKBOX, "Place an icon on Desktop");
    UpdateWindow(parent_);
    DispatchWaitingMessages();

    PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 11));
    PostMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(9, 11));
    DispatchWaitingMessages();
    UpdateWindow(box);
    DispatchWaitingMessages();
    ASSERT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_EQ(GetFocus(), box);

    Canvas screen(kBoxWidth, kBoxHeight, 0);
    GrabWindow(box, &screen);
    Canvas expected(kBoxWidth, kBoxHeight, 0);
    DrawExpectedBox(expected, kCheckGeometry, DFCS_BUTTONCHECK | DFCS_CHECKED,
                    "建立桌面图标？  (Place an icon on Desktop)", true);
    std::string where;
    EXPECT_EQ(CountDifferences(screen, expected, {0, 0, kBoxWidth, kBoxHeight}, &where), 0)
        << where;
}

TEST_F(CheckBoxTest, PassesWhatItDoesNotPaintToTheButtonProcedure) {
    HWND box = Box(IDC_DISPLAY_OK, BS_AUTOCHECKBOX);
    WNDCLASSA button;
    ASSERT_TRUE(GetClassInfoA(nullptr, "Button", &button));
    EXPECT_EQ(g_previousButtonProc, button.lpfnWndProc);
    // Keyboard and check state stay the standard auto check box's.
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(box, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

}  // namespace
