// Loading the agreement texts at the edges: the line splitting of the Chinese
// text, and a wizard whose payloads fill the 64 KiB buffer exactly (Chinese,
// 65,535 bytes and 600 lines: loaded, 500 lines shown) and one byte too far
// (English, 65,536 bytes: refused, as there is no room for the closing zero).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "wizard/agreement_lines.h"
#include "wizard/agreement_source.h"
#include "wizard/wizard_fixture.h"

namespace {

std::vector<std::string> Split(std::string text, int maxLines = kMaxAgreementLines) {
    std::vector<const char*> starts(static_cast<size_t>(maxLines));
    int count = SplitAgreementLines(&text[0], starts.data(), maxLines);
    return std::vector<std::string>(starts.begin(), starts.begin() + count);
}

TEST(AgreementLines, SplitAtCrSkippingOneLf) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\r\nunfinished", {"one"}},
        {"no line end at all", {}},
        {"", {}},
        {"\r\n\r\nafter two empty\r\n", {"", "", "after two empty"}},
        {"cr\ronly\r", {"cr", "only"}},
        {"one\r\n\nsecond lf stays\r\n", {"one", "\nsecond lf stays"}},
        {"lf\nonly\r\n", {"lf\nonly"}},
        {"第一行\r\n第二行\r\n", {"第一行", "第二行"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Split(c.text), c.lines) << c.text;
    }
}

TEST(AgreementLines, StopAtTheLineLimit) {
    std::string text;
    for (int i = 0; i < 503; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    std::vector<std::string> lines = Split(text);
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(lines.back(), "line 499");
    EXPECT_EQ(Split("a\r\nb\r\nc\r\n", 2), (std::vector<std::string>{"a", "b"}));
}

class AgreementLoadingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded); }
    static void TearDownTestSuite() { ReleaseGlyphFont(); }
    void SetUp() override {
        wizard = CreateWizardForTest();
        ASSERT_NE(wizard, nullptr);
        Command(wizard, IDC_NEXT);
        Click(wizard, IDC_DISPLAY_OK);
    }
    void TearDown() override { DestroyWizardForTest(); }

    LRESULT ListCount() {
        return SendDlgItemMessageA(wizard, IDC_AGREEMENT_CN_LIST, LB_GETCOUNT, 0, 0);
    }

    HWND wizard = nullptr;
};

TEST_F(AgreementLoadingTest, FullBufferIsRefusedAndRetriedWithoutDuplicates) {
    std::string chinese = InflatedPayload(IDP_AGREEMENT_CHINESE);
    ASSERT_EQ(chinese.size(), 65535u);
    ASSERT_EQ(InflatedPayload(IDP_AGREEMENT_ENGLISH).size(), 65536u);
    std::vector<std::string> lines = CrLfLines(chinese);
    ASSERT_EQ(lines.size(), 600u);

    Command(wizard, IDC_NEXT);
    ASSERT_EQ(g_wizardPage, 2);
    // The Chinese text fitted: its first 500 lines are in the list.
    ASSERT_EQ(ListCount(), 500);
    EXPECT_EQ(ListItemText(wizard, IDC_AGREEMENT_CN_LIST, 0, false), lines[0]);
    EXPECT_EQ(ListItemText(wizard, IDC_AGREEMENT_CN_LIST, 499, false), lines[499]);
    // The English one did not, so the load failed: no text is shown, and
    // Back works as on any page.
    EXPECT_EQ(WindowText(GetDlgItem(wizard, IDC_AGREEMENT_EN_TEXT)), "");
    EXPECT_FALSE(IsShown(wizard, IDC_AGREEMENT_CN_LIST));
    EXPECT_FALSE(IsShown(wizard, IDC_AGREEMENT_EN_TEXT));
    EXPECT_TRUE(IsShown(wizard, IDC_ENGLISH_AGREEMENT));
    EXPECT_TRUE(IsEnabled(wizard, IDC_BACK));

    // Every later visit tries again, starting from an empty list.
    Command(wizard, IDC_BACK);
    Command(wizard, IDC_NEXT);
    Click(wizard, IDC_ENGLISH_AGREEMENT);
    EXPECT_EQ(ListCount(), 500);
    EXPECT_FALSE(IsShown(wizard, IDC_AGREEMENT_EN_TEXT));
}

}  // namespace
