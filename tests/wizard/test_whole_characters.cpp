// Fitting mixed strings into fixed buffers: a text that does not fit keeps
// its longest run of whole characters, never half of a two-byte character.
#include <gtest/gtest.h>

#include <string>

#include "wizard/whole_characters.h"

namespace {

struct CopyCase {
    const char* text;
    size_t size;
    const char* kept;
    int fitted;
};

TEST(WholeCharacters, CopyKeepsWholeCharacters) {
    // "中" is the two bytes D6 D0 in GB2312.
    const CopyCase cases[] = {
        {"abc", 4, "abc", 1},
        {"abcd", 4, "abc", 0},
        {"a\xD6\xD0", 4, "a\xD6\xD0", 1},
        {"ab\xD6\xD0", 4, "ab", 0},          // the cut would split the character
        {"\xD6\xD0\xD6\xD0", 4, "\xD6\xD0", 0},
        {"\xD6\xD0" "a", 3, "\xD6\xD0", 0},
        {"", 1, "", 1},
        {"a", 1, "", 0},
        {nullptr, 4, "", 1},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.text ? c.text : "(null)") << " into " << c.size);
        char buf[8];
        memset(buf, 'X', sizeof buf);
        EXPECT_EQ(CopyWholeCharacters(buf, c.size, c.text), c.fitted);
        EXPECT_EQ(std::string(buf), c.kept);
        // Nothing written past the buffer.
        for (size_t i = c.size; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 'X') << i;
    }
}

TEST(WholeCharacters, WindowTextCutKeepsWholeCharacters) {
    HWND window = CreateWindowA("Static", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const struct {
        const char* text;
        int size;
        const char* kept;
    } cases[] = {
        {"ab\xD6\xD0", 4, "ab"},
        {"a\xD6\xD0" "b", 4, "a\xD6\xD0"},
        {"a\xD6\xD0", 4, "a\xD6\xD0"},
        {"abcdef", 4, "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SetWindowTextA(window, c.text);
        char buf[8];
        memset(buf, 'X', sizeof buf);
        EXPECT_EQ(ReadWholeWindowText(window, buf, c.size), static_cast<int>(strlen(c.kept)));
        EXPECT_EQ(std::string(buf), c.kept);
        for (int i = c.size; i < static_cast<int>(sizeof buf); ++i) EXPECT_EQ(buf[i], 'X') << i;
    }
    DestroyWindow(window);
}

}  // namespace
