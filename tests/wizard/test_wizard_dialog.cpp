// The wizard created from the real template 114 with the real agreement and
// glyph payloads, driven by messages in-process: its start state, the pages
// and their controls, the display test's answer, the agreement page and the
// language list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/agreement_source.h"
#include "wizard/modal_answerer.h"
#include "wizard/owner_draw.h"
#include "wizard/wizard_fixture.h"

namespace {

using Ids = std::vector<int>;

// What each page shows, sorted (the agreement page with the Chinese list).
const Ids kFolderPage = {IDC_FOLDER_PATH, IDC_BROWSE, IDC_DESKTOP_ICONS, IDC_FOLDER_LABEL};
const Ids kDisplayTestPage = {IDC_DISPLAY_OK, IDC_DISPLAY_BAD, IDC_SAMPLE_FRAME,
                              IDC_DISPLAY_QUESTION, IDC_SAMPLE_LINE};
const Ids kChineseAgreementPage = {IDC_ENGLISH_AGREEMENT, IDC_AGREEMENT_CN_LIST};
const Ids kEnglishAgreementPage = {IDC_ENGLISH_AGREEMENT, IDC_AGREEMENT_EN_TEXT};
const Ids kLanguagePage = {IDC_LANGUAGE_LABEL, IDC_LANGUAGE_LIST};

class WizardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded);
        CreateGB2312Font();
    }
    static void TearDownTestSuite() {
        ReleaseGlyphFont();
        if (g_gb2312Font) {
            DeleteObject(g_gb2312Font);
            g_gb2312Font = nullptr;
        }
    }
    void SetUp() override { CreateWizard(1); }
    void TearDown() override { DestroyWizardForTest(); }

    void CreateWizard(int systemLanguage) {
        DestroyWizardForTest();
        wizard = CreateWizardForTest(systemLanguage);
        ASSERT_NE(wizard, nullptr);
    }

    // Next from the folder page to `page`, answering the display test with
    // `answer` on the way.
    void GoTo(int page, int answer = IDC_DISPLAY_OK) {
        for (int step = 0; step < page; ++step) {
            if (g_wizardPage == 1 && !IsChecked(wizard, answer)) {
                Click(wizard, answer);
            }
            Command(wizard, IDC_NEXT);
        }
        ASSERT_EQ(g_wizardPage, page);
    }

    HWND wizard = nullptr;
};

TEST_F(WizardTest, StartsOnTheFolderPageWithItsDefaults) {
    EXPECT_EQ(g_wizardPage, 0);
    EXPECT_EQ(ShownPageControls(wizard), kFolderPage);
    EXPECT_FALSE(IsShown(wizard, IDC_BACK));
    EXPECT_FALSE(IsEnabled(wizard, IDC_BACK));
    EXPECT_TRUE(IsShown(wizard, IDC_NEXT));
    EXPECT_TRUE(IsShown(wizard, IDC_CANCEL));

    // The Windows of the test prefix lives on drive C.
    EXPECT_EQ(WindowText(GetDlgItem(wizard, IDC_FOLDER_PATH)), "C:\\Zelko");
    EXPECT_TRUE(IsChecked(wizard, IDC_DESKTOP_ICONS));
    EXPECT_FALSE(IsChecked(wizard, IDC_ENGLISH_AGREEMENT));
    EXPECT_EQ(GetFocus(), GetDlgItem(wizard, IDC_FOLDER_PATH));

    EXPECT_EQ(SendMessageA(wizard, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(g_wizardIcon));
    EXPECT_EQ(SendMessageA(wizard, WM_GETICON, ICON_SMALL, 0),
              reinterpret_cast<LRESULT>(g_wizardIcon));
    EXPECT_NE(g_wizardIcon, nullptr);

    // The three boxes painted by the check-box painter, which hands all else
    // to the button class.
    for (int box : {IDC_DESKTOP_ICONS, IDC_DISPLAY_OK, IDC_DISPLAY_BAD}) {
        EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(wizard, box), GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(CheckBoxProc))
            << box;
    }
    WNDCLASSA button;
    ASSERT_TRUE(GetClassInfoA(nullptr, "Button", &button));
    EXPECT_EQ(g_previousButtonProc, button.lpfnWndProc);
}

TEST_F(WizardTest, LanguageListOffersSimplifiedChineseFirst) {
    HWND list = GetDlgItem(wizard, IDC_LANGUAGE_LIST);
    struct Entry {
        const char* name;
        int code;
    };
    const Entry expected[] = {
        {"Chinese(Simplified)  中文简体", 1},
        {"English 英文", 0},
        {"Chinese(Traditional) 中文繁体", 2},
    };
    ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ListItemText(wizard, IDC_LANGUAGE_LIST, i, true), expected[i].name) << i;
        EXPECT_EQ(SendMessageA(list, CB_GETITEMDATA, i, 0), expected[i].code) << i;
    }
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    // Both owner-drawn lists have the item height the painters draw into, and
    // the combo box's selection field is at least as high.
    EXPECT_EQ(SendMessageA(list, CB_GETITEMHEIGHT, 0, 0), 23);
    EXPECT_GE(SendMessageA(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 23);
    EXPECT_EQ(SendDlgItemMessageA(wizard, IDC_AGREEMENT_CN_LIST, LB_GETITEMHEIGHT, 0, 0), 23);
}

TEST_F(WizardTest, NextAndBackWalkThroughThePages) {
    struct Step {
        int press;
        int page;
        Ids shown;
        bool back;
    };
    const Step steps[] = {
        {IDC_NEXT, 1, kDisplayTestPage, true},
        {IDC_DISPLAY_OK, 1, kDisplayTestPage, true},
        {IDC_NEXT, 2, kChineseAgreementPage, true},
        {IDC_NEXT, 3, kLanguagePage, true},
        {IDC_BACK, 2, kChineseAgreementPage, true},
        {IDC_BACK, 1, kDisplayTestPage, true},
        {IDC_BACK, 0, kFolderPage, false},
        {IDC_BACK, 0, kFolderPage, false},
    };
    int index = 0;
    for (const Step& step : steps) {
        if (step.press == IDC_DISPLAY_OK) {
            Click(wizard, step.press);
        } else {
            Command(wizard, step.press);
        }
        EXPECT_EQ(g_wizardPage, step.page) << "step " << index;
        EXPECT_EQ(ShownPageControls(wizard), step.shown) << "step " << index;
        EXPECT_EQ(IsShown(wizard, IDC_BACK), step.back) << "step " << index;
        EXPECT_EQ(IsEnabled(wizard, IDC_BACK), step.back) << "step " << index;
        EXPECT_TRUE(IsShown(wizard, IDC_NEXT));
        EXPECT_TRUE(IsShown(wizard, IDC_CANCEL));
        ++index;
    }
}

TEST_F(WizardTest, DisplayTestIsLeftOnlyWithOneAnswer) {
    GoTo(1);
    std::vector<std::string> chinese;
    std::vector<std::string> english;
    {
        ModalAnswerer answerer(ModalAnswerer::PressButton(IDOK, &chinese, &english));
        Command(wizard, IDC_NEXT);
        EXPECT_EQ(answerer.answered(), 1);
    }
    EXPECT_EQ(chinese, std::vector<std::string>{"请您回答提问."});
    EXPECT_EQ(english, std::vector<std::string>{"Please select a choice."});
    EXPECT_EQ(g_wizardPage, 1);
    EXPECT_EQ(ShownPageControls(wizard), kDisplayTestPage);

    // The box clicked last is the only one checked; a second click clears it.
    Click(wizard, IDC_DISPLAY_OK);
    Click(wizard, IDC_DISPLAY_BAD);
    EXPECT_FALSE(IsChecked(wizard, IDC_DISPLAY_OK));
    EXPECT_TRUE(IsChecked(wizard, IDC_DISPLAY_BAD));
    Click(wizard, IDC_DISPLAY_OK);
    EXPECT_TRUE(IsChecked(wizard, IDC_DISPLAY_OK));
    EXPECT_FALSE(IsChecked(wizard, IDC_DISPLAY_BAD));
    Click(wizard, IDC_DISPLAY_OK);
    EXPECT_FALSE(IsChecked(wizard, IDC_DISPLAY_OK));
    EXPECT_FALSE(IsChecked(wizard, IDC_DISPLAY_BAD));

    // "Does not show correctly" is the answer 0.
    g_chineseDisplayOk = 1;
    Click(wizard, IDC_DISPLAY_BAD);
    Command(wizard, IDC_NEXT);
    EXPECT_EQ(g_wizardPage, 2);
    EXPECT_EQ(g_chineseDisplayOk, 0);

    // Back from the agreement keeps the answer; it can be changed there.
    Command(wizard, IDC_BACK);
    EXPECT_TRUE(IsChecked(wizard, IDC_DISPLAY_BAD));
    Click(wizard, IDC_DISPLAY_OK);
    Command(wizard, IDC_NEXT);
    EXPECT_EQ(g_wizardPage, 2);
    EXPECT_EQ(g_chineseDisplayOk, 1);

    // Coming from the folder page, the question starts unanswered again.
    Command(wizard, IDC_BACK);
    Command(wizard, IDC_BACK);
    Command(wizard, IDC_NEXT);
    EXPECT_EQ(g_wizardPage, 1);
    EXPECT_FALSE(IsChecked(wizard, IDC_DISPLAY_OK));
    EXPECT_FALSE(IsChecked(wizard, IDC_DISPLAY_BAD));
}

TEST_F(WizardTest, AgreementPageShowsEitherTextWithoutReloading) {
    std::string chineseText = InflatedPayload(IDP_AGREEMENT_CHINESE);
    std::string englishText = InflatedPayload(IDP_AGREEMENT_ENGLISH);
    std::vector<std::string> lines = CrLfLines(chineseText);
    ASSERT_GT(lines.size(), 3u);
    ASSERT_LE(lines.size(), 500u);
    ASSERT_FALSE(englishText.empty());

    GoTo(2);
    EXPECT_EQ(ShownPageControls(wizard), kChineseAgreementPage);
    ASSERT_EQ(SendDlgItemMessageA(wizard, IDC_AGREEMENT_CN_LIST, LB_GETCOUNT, 0, 0),
              static_cast<LRESULT>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(ListItemText(wizard, IDC_AGREEMENT_CN_LIST, static_cast<int>(i), false), lines[i])
            << "line " << i;
    }
    EXPECT_EQ(WindowText(GetDlgItem(wizard, IDC_AGREEMENT_EN_TEXT)), englishText);

    // Marks in both controls survive every later visit: nothing is loaded twice.
    SendDlgItemMessageA(wizard, IDC_AGREEMENT_CN_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>("mark"));
    SetDlgItemTextA(wizard, IDC_AGREEMENT_EN_TEXT, "mark");

    Click(wizard, IDC_ENGLISH_AGREEMENT);
    EXPECT_EQ(g_wizardPage, 2);
    EXPECT_EQ(ShownPageControls(wizard), kEnglishAgreementPage);
    Click(wizard, IDC_ENGLISH_AGREEMENT);
    EXPECT_EQ(ShownPageControls(wizard), kChineseAgreementPage);
    Command(wizard, IDC_BACK);
    Command(wizard, IDC_NEXT);
    EXPECT_EQ(ShownPageControls(wizard), kChineseAgreementPage);

    EXPECT_EQ(SendDlgItemMessageA(wizard, IDC_AGREEMENT_CN_LIST, LB_GETCOUNT, 0, 0),
              static_cast<LRESULT>(lines.size() + 1));
    EXPECT_EQ(WindowText(GetDlgItem(wizard, IDC_AGREEMENT_EN_TEXT)), "mark");
}

TEST_F(WizardTest, NonChineseSystemReadsTheEnglishAgreementFirst) {
    CreateWizard(0);
    GoTo(2);
    EXPECT_TRUE(IsChecked(wizard, IDC_ENGLISH_AGREEMENT));
    EXPECT_EQ(ShownPageControls(wizard), kEnglishAgreementPage);
}

// Back pressed from the keyboard on the second page hides itself on the way
// to the first: the focus goes to Next, as it does from every other control
// that a page change hides, not wherever Windows puts it.
TEST_F(WizardTest, BackHiddenOnTheWayToTheFirstPageLeavesTheFocusOnNext) {
    GoTo(1);
    SetFocus(GetDlgItem(wizard, IDC_BACK));
    PumpMessages();
    ASSERT_EQ(GetFocus(), GetDlgItem(wizard, IDC_BACK));
    Command(wizard, IDC_BACK);
    EXPECT_EQ(g_wizardPage, 0);
    EXPECT_FALSE(IsShown(wizard, IDC_BACK));
    EXPECT_EQ(GetFocus(), GetDlgItem(wizard, IDC_NEXT));
}

// Leaving the agreement page while its "English" box has the focus hides the
// box, which moves the focus and makes the box report it: the page left must
// not come back over the next one.
TEST_F(WizardTest, LeavingTheAgreementFromTheEnglishBoxShowsOnlyTheNextPage) {
    GoTo(2);
    SetFocus(GetDlgItem(wizard, IDC_ENGLISH_AGREEMENT));
    PumpMessages();
    Command(wizard, IDC_NEXT);
    EXPECT_EQ(g_wizardPage, 3);
    EXPECT_EQ(ShownPageControls(wizard), kLanguagePage);
}

}  // namespace

// While the install runs, the wizard looks at its queue so that Windows sees
// it alive; commands another program sends it meanwhile must change nothing
// (Cancel would end the program, Back would bring a page back mid-install).
TEST_F(WizardTest, CommandsSentDuringTheInstallRunChangeNothing) {
    GoTo(3);
    g_wizardPage = kPageInstalling;
    for (int control : {IDC_CANCEL, IDC_BACK, IDC_NEXT, IDC_DISPLAY_BAD}) {
        Command(wizard, control);
        EXPECT_EQ(g_wizardPage, kPageInstalling) << "control " << control;
    }
    EXPECT_EQ(ShownPageControls(wizard), kLanguagePage);
    g_wizardPage = 3;
}
