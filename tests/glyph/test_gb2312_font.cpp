// The real GB2312 font and the sample line drawn with it, on both platform
// families: the NT family hands the GB2312 bytes to TextOutA, the Windows 95
// family draws their code page 936 conversion with TextOutW. Either way the
// line must come out as the seven hanzi it spells, which a reference drawn
// from the wide characters themselves shows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/globals.h"
#include "glyph/glyph.h"
#include "glyph_test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr char kSampleLine[] = "日出江花红胜火";
// The same line in UTF-16: U+65E5 U+51FA U+6C5F U+82B1 U+7EA2 U+80DC U+706B.
const WCHAR kSampleLineWide[] = L"\u65E5\u51FA\u6C5F\u82B1\u7EA2\u80DC\u706B";

class GlyphGB2312Font : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CreateGB2312Font(), 1); }
    void TearDown() override {
        DeleteObject(g_gb2312Font);
        g_gb2312Font = nullptr;
        g_isNtPlatform = 0;
    }
};

TEST_F(GlyphGB2312Font, ChangesSixFieldsOfTheSystemFont) {
    ASSERT_NE(g_gb2312Font, nullptr);
    LOGFONTA system = {};
    LOGFONTA made = {};
    ASSERT_EQ(GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system),
              static_cast<int>(sizeof system));
    ASSERT_EQ(GetObjectA(g_gb2312Font, sizeof made, &made), static_cast<int>(sizeof made));

    EXPECT_STREQ(made.lfFaceName, "Courier New");
    EXPECT_EQ(made.lfHeight, 16);
    EXPECT_EQ(made.lfWidth, 8);
    EXPECT_EQ(made.lfWeight, 400);
    EXPECT_EQ(made.lfPitchAndFamily, 0x31);
    EXPECT_EQ(made.lfCharSet, 134);

    EXPECT_EQ(made.lfEscapement, system.lfEscapement);
    EXPECT_EQ(made.lfOrientation, system.lfOrientation);
    EXPECT_EQ(made.lfItalic, system.lfItalic);
    EXPECT_EQ(made.lfUnderline, system.lfUnderline);
    EXPECT_EQ(made.lfStrikeOut, system.lfStrikeOut);
    EXPECT_EQ(made.lfOutPrecision, system.lfOutPrecision);
    EXPECT_EQ(made.lfClipPrecision, system.lfClipPrecision);
    EXPECT_EQ(made.lfQuality, system.lfQuality);
}

TEST_F(GlyphGB2312Font, CreatingAgainReplacesTheFont) {
    HFONT first = g_gb2312Font;
    ASSERT_EQ(CreateGB2312Font(), 1);
    EXPECT_NE(g_gb2312Font, nullptr);
    EXPECT_EQ(GetObjectType(first), 0u);
}

// A DC as the sample line's painter leaves it: the GB2312 font, black on white.
void PrepareSampleDc(Canvas& canvas) {
    SelectObject(canvas.dc, g_gb2312Font);
    SetTextColor(canvas.dc, kBlack);
    SetBkColor(canvas.dc, kWhite);
    SetBkMode(canvas.dc, TRANSPARENT);
}

TEST_F(GlyphGB2312Font, SampleLineShowsItsHanziOnBothPlatformFamilies) {
    ASSERT_NE(g_gb2312Font, nullptr);
    Canvas expected(160, 24, kWhite);
    PrepareSampleDc(expected);
    TextOutW(expected.dc, 2, 3, kSampleLineWide, lstrlenW(kSampleLineWide));
    ASSERT_GT(expected.CountOtherThan(kWhite), 7 * 10);

    for (int nt : {1, 0}) {
        SCOPED_TRACE(nt ? "NT family" : "Windows 95 family");
        g_isNtPlatform = nt;
        Canvas drawn(160, 24, kWhite);
        PrepareSampleDc(drawn);
        DrawGB2312Text(drawn.dc, 2, 3, kSampleLine, static_cast<int>(strlen(kSampleLine)));
        EXPECT_EQ(FirstDifference(drawn, expected), "");
        EXPECT_EQ(GetBkMode(drawn.dc), TRANSPARENT);
        EXPECT_EQ(GetTextColor(drawn.dc), kBlack);
        EXPECT_EQ(GetBkColor(drawn.dc), kWhite);
    }
}

// The Windows 95 family converts into 300 wide characters; a longer line is
// not drawn at all rather than drawn cut short. The NT family hands the bytes
// to TextOutA as they are, whatever their number.
TEST_F(GlyphGB2312Font, WindowsNinetyFiveFamilyDrawsAtMostThreeHundredCharacters) {
    struct LengthCase {
        int nt;
        int count;
        bool drawn;
    };
    const LengthCase cases[] = {{0, 300, true}, {0, 301, false}, {1, 301, true}};
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "nt " << c.nt << ", " << c.count << " bytes");
        g_isNtPlatform = c.nt;
        std::string line(c.count, 'H');
        Canvas drawn(32, 24, kWhite);
        PrepareSampleDc(drawn);
        DrawGB2312Text(drawn.dc, 2, 3, line.c_str(), c.count);
        EXPECT_EQ(drawn.CountOtherThan(kWhite) > 0, c.drawn);
    }
}

}  // namespace
