// Backslashes counted as characters of a code page: in Big5 and GBK the
// second byte of many characters is 0x5C, which a byte test takes for a
// separator. The source is UTF-8; the byte strings here are spelled out.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "app/path_chars.h"

namespace {

constexpr UINT kBig5 = 950, kGbk = 936, kWestern = 1252;
// 成功 in Big5: 功 is A5 5C.
const std::string kSuccessBig5 = "\xA6\xA8\xA5\x5C";
// 深淺 in GBK: 淺 is 9C 5C.
const std::string kDepthGbk = "\xC9\xEE\x9C\x5C";

TEST(PathCharsTest, TrailingBackslashIsAWholeCharacter) {
    struct Case {
        UINT codePage;
        std::string path;
        bool endsWithBackslash;
        int lastBackslash;   // byte offset, -1 for none
    } cases[] = {
        {kBig5, "C:\\", true, 2},
        {kBig5, "C:\\" + kSuccessBig5, false, 2},
        {kBig5, "C:\\" + kSuccessBig5 + "\\", true, 7},
        {kBig5, "C:\\" + kSuccessBig5 + "\\x.exe", false, 7},
        {kBig5, kSuccessBig5, false, -1},
        {kGbk, "C:\\" + kDepthGbk, false, 2},
        {kGbk, "C:\\" + kDepthGbk + "\\doc", false, 7},
        {kGbk, "D:\\" + kDepthGbk + "\\", true, 7},
        // A lead byte at the very end has no second byte to hide a separator.
        {kBig5, "C:\\\xA5", false, 2},
        // The same bytes in a single-byte code page do end with a backslash.
        {kWestern, "C:\\" + kSuccessBig5, true, 6},
        {kBig5, "", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.codePage << " " << testing::PrintToString(c.path));
        EXPECT_EQ(EndsWithBackslashIn(c.codePage, c.path.c_str()), c.endsWithBackslash);
        const char* last = FindLastBackslashIn(c.codePage, c.path.c_str());
        EXPECT_EQ(last == nullptr ? -1 : static_cast<int>(last - c.path.c_str()), c.lastBackslash);
    }
}

// The forms without a code page follow the system's, the one the file system
// takes paths in. Under a Chinese locale (see the .zh_TW and .zh_CN runs of
// this program) a folder name ending in 0x5C is kept whole.
TEST(PathCharsTest, SystemCodePageForms) {
    char root[] = "C:\\";
    EXPECT_STREQ(SeparatorAfter(root), "");
    EXPECT_TRUE(RemoveTrailingBackslash(root));
    EXPECT_STREQ(root, "C:");
    EXPECT_FALSE(RemoveTrailingBackslash(root));
    EXPECT_STREQ(SeparatorAfter("C:\\Zelko"), "\\");

    UINT acp = GetACP();
    if (acp != kBig5 && acp != kGbk) GTEST_SKIP() << "the system code page is " << acp;
    std::string folder = "C:\\" + (acp == kBig5 ? kSuccessBig5 : kDepthGbk);
    EXPECT_STREQ(SeparatorAfter(folder.c_str()), "\\");
    std::string copy = folder;
    EXPECT_FALSE(RemoveTrailingBackslash(&copy[0]));
    EXPECT_EQ(strlen(copy.c_str()), folder.size());
    std::string withSeparator = folder + "\\";
    EXPECT_TRUE(RemoveTrailingBackslash(&withSeparator[0]));
    EXPECT_STREQ(withSeparator.c_str(), folder.c_str());
}

}  // namespace
