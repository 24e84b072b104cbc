// Template 112 as the dialog manager reads it, and ShowMessage with it,
// answered from the test's own thread
// by a timer inside the dialog's modal loop. The window's place and size and
// the controls' rectangles are computed here from the layout's arithmetic and
// from extents measured in the test (16 per two-byte character plus the
// single bytes in the dialog DC's default font; the button size from the
// template's 73 x 18 dialog units); answers, Esc and the close box, ignored
// commands, and English texts too long for the buffer. A screenshot of each
// button set goes to screenshots/ in the test's working folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <cwctype>
#include <string>
#include <vector>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/messages.h"
#include "wizard/paint_canvas.h"

namespace {

constexpr char kCaption[] = "Morvalen Install Message";

// --- Answering the modal dialog -------------------------------------------

std::function<void(HWND)> g_action;
bool g_acted = false;
int g_ticksAfterAction = 0;
constexpr INT_PTR kWatchdogResult = 999;

BOOL CALLBACK FindMessageBox(HWND window, LPARAM found) {
    char className[16] = "", caption[64] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (strcmp(className, "#32770") == 0 && strcmp(caption, kCaption) == 0 &&
        IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the modal loop: hands the dialog to the action once; a dialog
// that is still up two seconds later is ended with a result no caller uses.
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    if (!g_acted) {
        g_acted = true;
        UpdateWindow(dialog);
        g_action(dialog);
    } else if (++g_ticksAfterAction > 100) {
        EndDialog(dialog, kWatchdogResult);
    }
}

// Runs show() with the action armed for the message box it opens.
int ShowAnswered(const std::function<int()>& show, std::function<void(HWND)> action) {
    g_action = std::move(action);
    g_acted = false;
    g_ticksAfterAction = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTick);
    int result = show();
    KillTimer(nullptr, timer);
    return result;
}

int ShowAndAnswer(const char* chinese, const char* english, int buttonSet,
                  std::function<void(HWND)> action) {
    return ShowAnswered([&] { return ShowMessage(chinese, english, buttonSet, nullptr); },
                        std::move(action));
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// --- What the test reads from the dialog ----------------------------------

constexpr int kButtonIds[] = {IDC_OK, IDC_CANCEL, IDC_ANSWER_YES, IDC_ANSWER_NO};

struct Seen {
    RECT window;
    RECT client;
    RECT controls[4];
    bool shown[4];
    RECT chineseLine;
    RECT englishLine;
    bool englishShown;
    std::string englishText;
    // Measured by the test in the dialog DC's default font.
    int chineseWidth;
    SIZE english;
    SIZE button;
};

RECT ChildRect(HWND dialog, int id) {
    RECT r = {};
    HWND child = GetDlgItem(dialog, id);
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// 16 for each two-byte character, each single byte measured on its own.
int MixedWidth(HDC dc, const char* text) {
    int width = 0;
    for (const char* p = text; *p;) {
        if (static_cast<unsigned char>(*p) & 0x80) {
            width += 16;
            p += p[1] ? 2 : 1;
        } else {
            SIZE size = {};
            GetTextExtentPointA(dc, p, 1, &size);
            width += size.cx;
            ++p;
        }
    }
    return width;
}

Seen Read(HWND dialog, const char* chinese) {
    Seen seen = {};
    GetWindowRect(dialog, &seen.window);
    GetClientRect(dialog, &seen.client);
    for (int i = 0; i < 4; ++i) {
        seen.controls[i] = ChildRect(dialog, kButtonIds[i]);
        seen.shown[i] = IsWindowVisible(GetDlgItem(dialog, kButtonIds[i])) != FALSE;
    }
    seen.chineseLine = ChildRect(dialog, IDC_MESSAGE_CHINESE);
    seen.englishLine = ChildRect(dialog, IDC_MESSAGE_ENGLISH);
    HWND english = GetDlgItem(dialog, IDC_MESSAGE_ENGLISH);
    seen.englishShown = IsWindowVisible(english) != FALSE;
    char text[512] = "";
    GetWindowTextA(english, text, sizeof text);
    seen.englishText = text;

    HDC dc = GetDC(dialog);
    seen.chineseWidth = MixedWidth(dc, chinese);
    if (!seen.englishText.empty()) {
        GetTextExtentPointA(dc, text, lstrlenA(text), &seen.english);
    }
    ReleaseDC(dialog, dc);
    RECT units = {0, 0, 73, 18};
    MapDialogRect(dialog, &units);
    seen.button = {units.right, units.bottom};
    return seen;
}

RECT At(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
    EXPECT_TRUE(EqualRect(&actual, &expected))
        << what << ": (" << actual.left << ", " << actual.top << ", " << actual.right << ", "
        << actual.bottom << ") expected (" << expected.left << ", " << expected.top << ", "
        << expected.right << ", " << expected.bottom << ")";
}

class MessageBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_instance = GetModuleHandleA(nullptr);
        ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
        CreateDirectoryA("screenshots", nullptr);
    }
    static void TearDownTestSuite() { ReleaseGlyphFont(); }
    void SetUp() override { g_instance = GetModuleHandleA(nullptr); }
};

// --- Template 112 -----------------------------------------------------------

// Reads the classic (not extended) dialog template from the test program's
// resources, as the dialog manager reads it.
struct TemplateReader {
    const WORD* at;
    WORD Word() { return *at++; }
    DWORD Dword() {
        DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    // A string, or 0xFFFF and an ordinal (given back as "#<ordinal>").
    std::wstring NameOrOrdinal() {
        if (*at == 0xFFFF) {
            ++at;
            return L"#" + std::to_wstring(Word());
        }
        return Text();
    }
    // A control class: by name, or by the ordinal of a predefined class.
    std::wstring ClassName() {
        std::wstring name = NameOrOrdinal();
        if (name == L"BUTTON") return L"BUTTON";
        if (name == L"STATIC") return L"STATIC";
        for (wchar_t& ch : name) ch = static_cast<wchar_t>(towupper(ch));
        return name;
    }
    std::wstring Text() {
        std::wstring text;
        while (*at) text += static_cast<wchar_t>(*at++);
        ++at;
        return text;
    }
    void AlignToDword(const void* start) {
        size_t offset = reinterpret_cast<const char*>(at) - static_cast<const char*>(start);
        if (offset % 4) ++at;
    }
};

struct TemplateControl {
    int id;
    std::wstring className;
    DWORD style;
    RECT rect;               // x, y, width, height in dialog units
    std::wstring text;
};

TEST(MessageBoxTemplate, IsTheClassicTemplateAsListed) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_MESSAGE_BOX), MAKEINTRESOURCEA(5));
    ASSERT_NE(resource, nullptr);
    const void* start = LockResource(LoadResource(nullptr, resource));
    TemplateReader read = {static_cast<const WORD*>(start)};
    ASSERT_NE(read.at[1], 0xFFFF) << "extended template";

    EXPECT_EQ(read.Dword(), static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                               DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(read.Dword(), 0u);  // no extended styles
    const int count = read.Word();
    RECT frame;
    frame.left = static_cast<short>(read.Word());
    frame.top = static_cast<short>(read.Word());
    frame.right = static_cast<short>(read.Word());
    frame.bottom = static_cast<short>(read.Word());
    ExpectRect(frame, {0, 0, 330, 85}, "dialog");
    EXPECT_EQ(read.NameOrOrdinal(), L"");  // no menu
    EXPECT_EQ(read.NameOrOrdinal(), L"");  // the dialog class
    EXPECT_EQ(read.Text(), L"Morvalen Install Message");
    EXPECT_EQ(read.Word(), 8);
    EXPECT_EQ(read.Text(), L"MS Sans Serif");

    const DWORD button = BS_OWNERDRAW | WS_CHILD | WS_TABSTOP;  // hidden
    const TemplateControl expected[] = {
        {IDC_OK, L"BUTTON", button, {87, 64, 73, 18}, L"确认"},
        {IDC_ANSWER_YES, L"BUTTON", button, {174, 64, 73, 18}, L"是"},
        {IDC_ANSWER_NO, L"BUTTON", button, {257, 66, 73, 18}, L"否"},
        {IDC_CANCEL, L"BUTTON", button, {6, 64, 73, 18}, L"取消 "},
        {IDC_MESSAGE_CHINESE, L"BUTTON", BS_OWNERDRAW | WS_CHILD | WS_VISIBLE | WS_DISABLED,
         {6, 4, 321, 24}, L""},
        {IDC_MESSAGE_ENGLISH, L"STATIC", SS_CENTER | WS_CHILD | WS_VISIBLE, {6, 35, 87, 8}, L""},
    };
    ASSERT_EQ(count, 6);
    for (const TemplateControl& want : expected) {
        SCOPED_TRACE(want.id);
        read.AlignToDword(start);
        EXPECT_EQ(read.Dword(), want.style);
        EXPECT_EQ(read.Dword(), 0u);
        RECT r;
        r.left = static_cast<short>(read.Word());
        r.top = static_cast<short>(read.Word());
        r.right = static_cast<short>(read.Word());
        r.bottom = static_cast<short>(read.Word());
        ExpectRect(r, want.rect, "control");
        EXPECT_EQ(read.Word(), want.id);
        EXPECT_EQ(read.ClassName(), want.className);
        EXPECT_TRUE(read.NameOrOrdinal() == want.text);
        read.at += read.Word() / 2;  // creation data
    }
}

// --- Layout -----------------------------------------------------------------

struct LayoutCase {
    const char* name;
    const char* chinese;
    const char* english;
    int buttonSet;
    const char* screenshot;  // file under screenshots/, or null
};

// Tests are named by their case.
void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

std::string Repeat(const char* piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

const std::string k80Bytes = Repeat("中", 40);
const std::string k81Bytes = Repeat("中", 40) + ".";
const std::string kLongPath =
    "无法建目录(C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Zelko Scrivora)!";

const LayoutCase kLayoutCases[] = {
    {"ok", "祝贺您：安装顺利完成！", "Congratulations! Installation Success!", kButtonsOk,
     "message_box_ok.bmp"},
    {"ok_cancel", "下面安装微软的语音模块SAPI5.1.", "Now install sound module SAPI5.1 from Microsoft.",
     kButtonsOkCancel, "message_box_ok_cancel.bmp"},
    {"yes_no", "安装目录有老词库。是否安装新词库(会冲掉老词库)?",
     "Old CiKu (Word Base) is detected. Replace it with new CiKu?", kButtonsYesNo,
     "message_box_yes_no.bmp"},
    {"long_path", kLongPath.c_str(), "Cannot create folder!", kButtonsOk,
     "message_box_long_path.bmp"},
    // Short texts: the window is the minimum width and the buttons stand
    // left of its centre. No English text: no English line, no room for it.
    {"short_no_english", "请您回答提问.", nullptr, kButtonsOk, nullptr},
    {"short_yes_no_empty_english", "是", "", kButtonsYesNo, nullptr},
    {"other_set_is_ok_cancel", "安装失败！", "Failed.", 7, nullptr},
    {"bytes_80", k80Bytes.c_str(), "x", kButtonsOk, nullptr},
    {"bytes_81", k81Bytes.c_str(), "x", kButtonsOk, nullptr},
};

class LayoutTest : public MessageBoxTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, WindowAndControlsFollowTheMeasuredTexts) {
    const LayoutCase& c = GetParam();
    Seen seen = {};
    const bool yesNo = c.buttonSet == kButtonsYesNo;
    int result = ShowAndAnswer(c.chinese, c.english, c.buttonSet, [&](HWND dialog) {
        seen = Read(dialog, c.chinese);
        if (c.screenshot) {
            Canvas shot(seen.window.right - seen.window.left, seen.window.bottom - seen.window.top, 0);
            GrabWindow(dialog, &shot);
            std::string path = std::string("screenshots\\") + c.screenshot;
            EXPECT_TRUE(SaveBitmap(shot, path.c_str())) << path;
        }
        Press(dialog, yesNo ? IDC_ANSWER_YES : IDC_OK);
    });
    ASSERT_EQ(result, yesNo ? IDC_ANSWER_YES : IDC_OK);

    const int bw = seen.button.cx, bh = seen.button.cy;
    ASSERT_GT(bw, 0);
    const int chC = 16;
    const bool hasEnglish = c.english && c.english[0];
    const int cwE = hasEnglish ? seen.english.cx : 0;
    const int chE = hasEnglish ? seen.english.cy : 0;
    const int minW = c.buttonSet == kButtonsOk ? 2 * bw : 3 * bw;
    const int W = std::max(seen.chineseWidth, cwE) + 2 * GetSystemMetrics(SM_CXDLGFRAME) +
                  (strlen(c.chinese) < 81 ? 2 * bh : 0);
    const int H = 3 * (chC + bh) + 2 * chE;

    ExpectRect(seen.window,
               At((GetSystemMetrics(SM_CXSCREEN) - W) / 2, (GetSystemMetrics(SM_CYSCREEN) - H) / 2,
                  std::max(W, minW), H + GetSystemMetrics(SM_CYCAPTION)),
               "window");

    // Which buttons show, and where.
    const bool expectShown[4] = {!yesNo, !yesNo && c.buttonSet != kButtonsOk, yesNo, yesNo};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(seen.shown[i], expectShown[i]) << kButtonIds[i];
    // Centred in the measured width, or in the window where the texts are
    // narrower than the buttons need: never off the window's left edge.
    const int buttonsW = std::max(W, minW);
    if (c.buttonSet == kButtonsOk) {
        ExpectRect(seen.controls[0], At((buttonsW - bw) / 2, H - 2 * bh, bw, bh), "OK");
        EXPECT_GE(seen.controls[0].left, 0);
    } else {
        const int x1 = (buttonsW - 7 * bw / 3) / 2, y = H - 3 * bh / 2;
        EXPECT_GE(x1, 0);
        ExpectRect(seen.controls[yesNo ? 2 : 0], At(x1, y, bw, bh), "first button");
        ExpectRect(seen.controls[yesNo ? 3 : 1], At(x1 + 4 * bw / 3, y, bw, bh), "second button");
    }

    const int clientWidth = seen.client.right;
    ExpectRect(seen.chineseLine, At(0, 10, clientWidth, 48), "Chinese line");
    EXPECT_EQ(seen.englishShown, hasEnglish);
    if (hasEnglish) {
        ExpectRect(seen.englishLine, At(0, 10 + 48 + 5, clientWidth, 2 * chE), "English line");
        EXPECT_EQ(seen.englishText, c.english);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest, ::testing::ValuesIn(kLayoutCases),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             return std::string(info.param.name);
                         });

// A Chinese text of 80 bytes gets 2 x bh more width than its measure; one
// of 81 bytes does not.
TEST_F(MessageBoxTest, ExtraWidthEndsAt81Bytes) {
    Seen at80 = {}, at81 = {};
    ShowAndAnswer(k80Bytes.c_str(), "x", kButtonsOk, [&](HWND dialog) {
        at80 = Read(dialog, k80Bytes.c_str());
        Press(dialog, IDC_OK);
    });
    ShowAndAnswer(k81Bytes.c_str(), "x", kButtonsOk, [&](HWND dialog) {
        at81 = Read(dialog, k81Bytes.c_str());
        Press(dialog, IDC_OK);
    });
    const int width80 = at80.window.right - at80.window.left;
    const int width81 = at81.window.right - at81.window.left;
    ASSERT_GT(at80.chineseWidth, 2 * at80.button.cx);  // wider than the minimum
    EXPECT_EQ((width80 - at80.chineseWidth) - (width81 - at81.chineseWidth), 2 * at80.button.cy);
}

// The Chinese line is painted whole: its ink spans the measured text centred
// in the line, in the line's own font.
TEST_F(MessageBoxTest, LongChineseLineIsPaintedWhole) {
    ASSERT_GT(kLongPath.size(), 79u);
    RECT ink = {}, line = {};
    int textWidth = 0;
    ShowAndAnswer(kLongPath.c_str(), "Cannot create folder!", kButtonsOk, [&](HWND dialog) {
        HWND label = GetDlgItem(dialog, IDC_MESSAGE_CHINESE);
        UpdateWindow(label);
        GetWindowRect(label, &line);
        HDC dc = GetDC(label);
        HGDIOBJ kept = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        textWidth = MixedWidth(dc, kLongPath.c_str());
        SelectObject(dc, kept);
        ReleaseDC(label, dc);
        Canvas shot(line.right - line.left, line.bottom - line.top, 0);
        GrabWindow(label, &shot);
        ink = InkBounds(shot, {0, 0, shot.width, shot.height}, GetSysColor(COLOR_BTNFACE));
        Press(dialog, IDC_OK);
    });
    const int left = (line.right - line.left - textWidth) / 2;
    EXPECT_GE(ink.left, left);
    EXPECT_LE(ink.left, left + 3);
    EXPECT_LE(ink.right, left + textWidth);
    EXPECT_GE(ink.right, left + textWidth - 4);
}

// --- Answers ----------------------------------------------------------------

TEST_F(MessageBoxTest, EscapeAndTheCloseBoxAnswerCancelInEverySet) {
    for (int set : {kButtonsOk, kButtonsOkCancel, kButtonsYesNo}) {
        SCOPED_TRACE(set);
        int escape = ShowAndAnswer("请您回答提问.", "Please select a choice.", set, [](HWND dialog) {
            HWND focus = GetFocus();
            HWND target = focus && IsChild(dialog, focus) ? focus : dialog;
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        });
        EXPECT_EQ(escape, IDC_CANCEL);
        int close = ShowAndAnswer("请您回答提问.", "Please select a choice.", set, [](HWND dialog) {
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        EXPECT_EQ(close, IDC_CANCEL);
    }
}

// Commands other than 1, 2, 6 and 7 leave the dialog up; those four end it
// with their identifier, whichever buttons are shown.
TEST_F(MessageBoxTest, OnlyTheFourAnswersEndTheDialog) {
    for (int answer : {IDC_OK, IDC_CANCEL, IDC_ANSWER_YES, IDC_ANSWER_NO}) {
        SCOPED_TRACE(answer);
        int result = ShowAndAnswer("是", "Yes?", kButtonsOk, [answer](HWND dialog) {
            for (int ignored : {IDC_BACK, 4, 5, 0, 8, IDC_MESSAGE_CHINESE, IDC_NEXT}) {
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ignored, BN_CLICKED), 0);
            }
            // The notification code in the high word does not matter.
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_SETFOCUS), 0);
        });
        EXPECT_EQ(result, answer);
    }
}

TEST_F(MessageBoxTest, EnglishTextTooLongIsCutAtACharacterBoundary) {
    const struct {
        std::string english;
        std::string shown;
    } cases[] = {
        {Repeat("b", 200), Repeat("b", 127)},
        {Repeat("a", 126) + "中文", Repeat("a", 126)},
        {Repeat("c", 127), Repeat("c", 127)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.english.size());
        std::string shown;
        int result = ShowAndAnswer("请您回答提问.", c.english.c_str(), kButtonsOk, [&](HWND dialog) {
            char text[512] = "";
            GetDlgItemTextA(dialog, IDC_MESSAGE_ENGLISH, text, sizeof text);
            shown = text;
            Press(dialog, IDC_OK);
        });
        EXPECT_EQ(result, IDC_OK);
        EXPECT_EQ(shown, c.shown);
    }
}

// Every message of the table, and the folder message with the longest folder
// paths a caller can pass: both lines carry their whole text, or the folder
// message drops a path that does not fit whole, so no line is ever cut
// inside a double-byte character.
TEST_F(MessageBoxTest, EveryMessageKeepsItsWholeTexts) {
    const std::string fits = "C:\\" + Repeat("中", 121) + "x";
    const std::string tooLong = "C:\\" + Repeat("中", 122);
    struct Case {
        MessageRow row;
        const char* detail;
        std::string chinese;
    };
    std::vector<Case> cases;
    for (int row = 1; row <= kMessageRowCount; ++row) {
        if (row == kMsgCannotCreateStartMenuFolder) continue;
        cases.push_back({MessageRow(row), nullptr, MessageOfRow(MessageRow(row)).chinese});
    }
    cases.push_back({kMsgCannotCreateStartMenuFolder, fits.c_str(), "无法建目录(" + fits + ")!"});
    cases.push_back({kMsgCannotCreateStartMenuFolder, tooLong.c_str(), "无法建目录(...)!"});
    cases.push_back({kMsgCannotCreateStartMenuFolder, nullptr, "无法建目录()!"});
    ASSERT_EQ(cases[cases.size() - 3].chinese.size(), static_cast<size_t>(MAX_PATH - 1));

    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << ", detail of "
                                        << (c.detail ? strlen(c.detail) : 0) << " bytes");
        std::string chinese, english;
        int result = ShowAnswered([&] { return ShowMessageRow(c.row, nullptr, c.detail); },
                                  [&](HWND dialog) {
                                      char text[1024] = "";
                                      GetDlgItemTextA(dialog, IDC_MESSAGE_CHINESE, text, sizeof text);
                                      chinese = text;
                                      GetDlgItemTextA(dialog, IDC_MESSAGE_ENGLISH, text, sizeof text);
                                      english = text;
                                      Press(dialog, IDC_CANCEL);
                                  });
        EXPECT_EQ(result, IDC_CANCEL);
        EXPECT_EQ(chinese, c.chinese);
        EXPECT_EQ(english, MessageOfRow(c.row).english);
    }
}

TEST_F(MessageBoxTest, MissingTemplateGivesTheFailureValue) {
    g_instance = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(ShowMessage("是", "Yes", kButtonsOk, nullptr), -1);
}

}  // namespace
