// The program's message loop with the real wizard: what Enter does with the
// focus on each kind of control, Cancel, Esc and the close box on every page,
// and that nothing more is fetched once the wizard page turns negative.
#include <gtest/gtest.h>


#include "app/globals.h"
#include "app/message_loop.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_fixture.h"

namespace {

int g_pageWhenStopped = 0;
bool g_stoppedByTimer = false;

// A dialog the test did not expect (a message box) is closed, so that the
// test fails instead of waiting for an answer.
BOOL CALLBACK CloseUnexpectedDialog(HWND window, LPARAM) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (window != g_wizardWindow && lstrcmpA(className, "#32770") == 0) {
        ADD_FAILURE() << "a dialog opened";
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

void CALLBACK StopLoop(HWND, UINT, UINT_PTR, DWORD) {
    g_pageWhenStopped = g_wizardPage;
    g_stoppedByTimer = true;
    g_wizardPage = kPageEnd;
    EnumThreadWindows(GetCurrentThreadId(), CloseUnexpectedDialog, 0);
}

struct LoopEnd {
    bool byItself;   // the loop ended without the test's timer
    int page;        // the wizard page at the end (before the timer's stop)
};

// Runs the program's loop until it ends by itself, or until a quarter second
// has passed; then puts back the page the wizard was on.
LoopEnd RunLoopBriefly() {
    g_stoppedByTimer = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 250, StopLoop);
    RunMessageLoop();
    KillTimer(nullptr, timer);
    if (g_stoppedByTimer) {
        g_wizardPage = g_pageWhenStopped;
    }
    return {!g_stoppedByTimer, g_wizardPage};
}

class MessageLoopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded); }
    static void TearDownTestSuite() { ReleaseGlyphFont(); }
    void SetUp() override {
        wizard = CreateWizardForTest();
        ASSERT_NE(wizard, nullptr);
    }
    void TearDown() override { DestroyWizardForTest(); }

    void GoTo(int page) {
        while (g_wizardPage < page) {
            if (g_wizardPage == 1) {
                Click(wizard, IDC_DISPLAY_OK);
            }
            Command(wizard, IDC_NEXT);
        }
        ASSERT_EQ(g_wizardPage, page);
    }

    // A key as the keyboard delivers it: posted to the window with the focus.
    void PostKey(WPARAM key) {
        HWND focus = GetFocus();
        PostMessageA(focus ? focus : wizard, WM_KEYDOWN, key, 1);
        PostMessageA(focus ? focus : wizard, WM_KEYUP, key, 0xC0000001);
    }

    HWND wizard = nullptr;
};

TEST_F(MessageLoopTest, EnterPressesTheFocusedButtonOrElseNext) {
    struct Case {
        const char* what;
        int page;           // page the wizard is on
        int focus;          // control with the focus
        int englishBox;     // check the agreement page's "English" box first
        bool ends;          // the loop ends by itself (the program ends)
        int pageAfter;      // otherwise the page afterwards
    };
    const Case cases[] = {
        {"Cancel is pressed", 0, IDC_CANCEL, 0, true, kPageEnd},
        {"Next is pressed once", 0, IDC_NEXT, 0, false, 1},
        {"Back is pressed", 2, IDC_BACK, 0, false, 1},
        {"check box presses Next", 0, IDC_DESKTOP_ICONS, 0, false, 1},
        {"path field presses Next", 0, IDC_FOLDER_PATH, 0, false, 1},
        {"answer box presses Next", 1, IDC_DISPLAY_OK, 0, false, 2},
        {"English box presses Next", 2, IDC_ENGLISH_AGREEMENT, 0, false, 3},
        {"English text presses Next", 2, IDC_AGREEMENT_EN_TEXT, 1, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DestroyWizardForTest();
        wizard = CreateWizardForTest();
        GoTo(c.page);
        if (c.page == 1) {
            Click(wizard, IDC_DISPLAY_OK);
        }
        if (c.englishBox) {
            Click(wizard, IDC_ENGLISH_AGREEMENT);
        }
        SetFocus(GetDlgItem(wizard, c.focus));
        ASSERT_EQ(GetFocus(), GetDlgItem(wizard, c.focus));
        PostKey(VK_RETURN);
        LoopEnd end = RunLoopBriefly();
        EXPECT_EQ(end.byItself, c.ends);
        EXPECT_EQ(end.page, c.pageAfter);
    }
}

// A page change that hides the control with the focus leaves the focus on
// Next, so that Enter after Enter walks on instead of pressing Back.
TEST_F(MessageLoopTest, EnterAfterEnterWalksOn) {
    struct Case {
        int page;
        int focus;
    };
    const Case cases[] = {
        {0, IDC_FOLDER_PATH},
        {1, IDC_DISPLAY_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focus);
        DestroyWizardForTest();
        wizard = CreateWizardForTest();
        GoTo(c.page);
        if (c.page == 1) {
            Click(wizard, IDC_DISPLAY_OK);
        }
        SetFocus(GetDlgItem(wizard, c.focus));
        PostKey(VK_RETURN);
        EXPECT_EQ(RunLoopBriefly().page, c.page + 1);
        EXPECT_EQ(GetFocus(), GetDlgItem(wizard, IDC_NEXT));
        if (c.page == 0) {
            Click(wizard, IDC_DISPLAY_OK);
            SetFocus(GetDlgItem(wizard, IDC_NEXT));
        }
        PostKey(VK_RETURN);
        EXPECT_EQ(RunLoopBriefly().page, c.page + 2);
    }
}

// The rule itself, without the loop: the command it posts to the wizard
// (taken off the queue, not handled) and whether it consumed the key.
struct EnterOutcome {
    int consumed;
    WPARAM command;
};

EnterOutcome ApplyEnterRuleOnly(HWND wizard) {
    EnterOutcome outcome = {ApplyEnterRule(wizard), 0};
    MSG message;
    if (PeekMessageA(&message, wizard, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        EXPECT_EQ(message.lParam, 0);
        outcome.command = message.wParam;
    }
    return outcome;
}

// A check box whose low style byte carries more than its type counts as a
// push button: Enter presses it instead of Next.
TEST_F(MessageLoopTest, EnterComparesTheWholeLowStyleByte) {
    HWND box = GetDlgItem(wizard, IDC_DESKTOP_ICONS);
    SetWindowLongA(box, GWL_STYLE, GetWindowLongA(box, GWL_STYLE) | BS_LEFTTEXT);
    SetFocus(box);
    EnterOutcome outcome = ApplyEnterRuleOnly(wizard);
    EXPECT_EQ(outcome.consumed, 1);
    EXPECT_EQ(outcome.command, static_cast<WPARAM>(IDC_DESKTOP_ICONS));
}

// On the last page Enter in the language list presses Install (the default
// button); the key itself goes on to the list.
TEST_F(MessageLoopTest, EnterOnTheLanguageListPressesInstall) {
    GoTo(3);
    SetFocus(GetDlgItem(wizard, IDC_LANGUAGE_LIST));
    EnterOutcome outcome = ApplyEnterRuleOnly(wizard);
    EXPECT_EQ(outcome.consumed, 0);
    EXPECT_EQ(outcome.command, static_cast<WPARAM>(IDC_NEXT));
}

TEST_F(MessageLoopTest, CancelEscAndCloseBoxEndOnEveryPage) {
    for (int page = 0; page <= 3; ++page) {
        for (int way = 0; way < 3; ++way) {
            SCOPED_TRACE("page " + std::to_string(page) + ", way " + std::to_string(way));
            DestroyWizardForTest();
            wizard = CreateWizardForTest();
            GoTo(page);
            if (way == 0) {
                PostMessageA(GetDlgItem(wizard, IDC_CANCEL), BM_CLICK, 0, 0);
            } else if (way == 1) {
                PostKey(VK_ESCAPE);
            } else {
                PostMessageA(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            LoopEnd end = RunLoopBriefly();
            EXPECT_TRUE(end.byItself);
            EXPECT_EQ(end.page, kPageEnd);
        }
    }
}

TEST_F(MessageLoopTest, NothingIsFetchedAfterTheProgramEnds) {
    PostMessageA(wizard, WM_COMMAND, IDC_CANCEL, 0);
    PostMessageA(wizard, WM_COMMAND, IDC_NEXT, 0);
    LoopEnd end = RunLoopBriefly();
    EXPECT_TRUE(end.byItself);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, wizard, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(IDC_NEXT));
}

TEST_F(MessageLoopTest, QuitEndsTheLoop) {
    PostQuitMessage(0);
    LoopEnd end = RunLoopBriefly();
    EXPECT_TRUE(end.byItself);
    EXPECT_EQ(end.page, 0);
}

}  // namespace
