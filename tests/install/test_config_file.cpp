// UpdateConfigFile and ClearFileAttributes against real files under Wine.
// Expected files are written out byte for byte, CR LF included.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/config_file.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyBounded(g_installFolder, folder.path().c_str()));
        g_chineseDisplayOk = 0;
        g_uiLanguage = 1;
    }
    void TearDown() override { g_installFolder[0] = '\0'; }

    std::string iniPath() const { return folder / "zerezizu.ini"; }

    TempFolder folder;
};

struct UpdateCase {
    const char* what;
    int displayOk;
    int uiLanguage;
    std::string before;
    std::string after;
};

// A line of 300 characters: read in two pieces.
const std::string kLong(300, 'x');
// Exactly 255 characters: the next piece of the same line starts with a key.
const std::string kFullPiece(255, 'y');

std::vector<UpdateCase> UpdateCases() {
    return {
        {"both keys in place, nothing appended; lines after the second key unread", 0, 2,
         "; head\r\n[Config]\r\nUseBmpFont=0\r\nForceLanguage=1\r\nUseBmpFont=0\r\nTail=1\r\n",
         "; head\r\n[Config]\r\nUseBmpFont=1\r\nForceLanguage=2\r\nUseBmpFont=0\r\nTail=1\r\n"},
        {"the shipped shape: UseBmpFont in place, ForceLanguage appended", 1, 0,
         "[Other]\r\nA=1\r\n\r\n[Config]\r\nUseBmpFont=1\r\n\r\n",
         "[Other]\r\nA=1\r\n\r\n[Config]\r\nUseBmpFont=0\r\n\r\n\r\nForceLanguage=0\r\n"},
        {"a [Config] line alone: both keys appended, no second header", 0, 1,
         "[Config]\r\n",
         "[Config]\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=1\r\n"},
        {"empty file", 1, 2, "",
         "\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=0\r\n\r\nForceLanguage=2\r\n"},
        {"last line without a line end is rewritten in place", 0, 1,
         "[Config]\r\nUseBmpFont=0",
         "[Config]\r\nUseBmpFont=1\r\nForceLanguage=1\r\n"},
        {"keys later in their lines stay, keys appended", 0, 2,
         "[Config]\r\n; UseBmpFont=0\r\nx ForceLanguage=1\r\n",
         "[Config]\r\n; UseBmpFont=0\r\nx ForceLanguage=1\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=2\r\n"},
        {"old values of another length stay, keys appended", 0, 2,
         "[Config]\r\nUseBmpFont=10\r\nForceLanguage=\r\n",
         "[Config]\r\nUseBmpFont=10\r\nForceLanguage=\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=2\r\n"},
        {"a key line longer than 255 characters stays", 0, 1,
         "[Config]\r\nUseBmpFont=0" + kLong + "\r\nForceLanguage=0\r\n",
         "[Config]\r\nUseBmpFont=0" + kLong + "\r\nForceLanguage=1\r\n\r\nUseBmpFont=1\r\n"},
        {"a key at the start of a line's second piece is not at a line start", 0, 1,
         "[Config]\r\n" + kFullPiece + "UseBmpFont=0\r\nForceLanguage=0\r\n",
         "[Config]\r\n" + kFullPiece + "UseBmpFont=0\r\nForceLanguage=1\r\n\r\nUseBmpFont=1\r\n"},
        {"both keys before any section: rewritten, header at the end", 0, 2,
         "UseBmpFont=0\r\nForceLanguage=0\r\n[Other]\r\nA=1\r\n",
         "UseBmpFont=1\r\nForceLanguage=2\r\n[Other]\r\nA=1\r\n\r\n\r\n[Config]\r\n\r\n"},
        {"a key before the section and one missing: header before the appended key", 1, 1,
         "UseBmpFont=1\r\n[Other]\r\n",
         "UseBmpFont=0\r\n[Other]\r\n\r\n\r\n[Config]\r\n\r\n\r\nForceLanguage=1\r\n"},
    };
}

TEST_F(ConfigFileTest, UpdatesKeysInPlaceOrAppendsThem) {
    for (const UpdateCase& c : UpdateCases()) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(iniPath(), B(c.before)));
        g_chineseDisplayOk = c.displayOk;
        g_uiLanguage = c.uiLanguage;
        EXPECT_EQ(1, UpdateConfigFile());
        Bytes after = ReadBytes(iniPath());
        EXPECT_EQ(c.after, std::string(after.begin(), after.end()));
        EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(iniPath()));
        SetFileAttributesA(iniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// With bare LF line ends the runtime's text-mode positions are wrong (how
// wrong depends on the text); no line but the key lines may change, and both
// keys must end up in the file with their new values.
TEST_F(ConfigFileTest, BareLineFeedsNeverDamageOtherLines) {
    const std::string texts[] = {
        "[A]\nX=1\nUseBmpFont=0\nY=2\n",
        "[A]\nX=1\nUseBmpFont=0\nY=2\n[Config]\nForceLanguage=0\nZ=3\n",
    };
    for (const std::string& before : texts) {
        SCOPED_TRACE(before);
        ASSERT_TRUE(WriteBytes(iniPath(), B(before)));
        g_chineseDisplayOk = 0;
        g_uiLanguage = 2;
        EXPECT_EQ(1, UpdateConfigFile());
        Bytes bytes = ReadBytes(iniPath());
        std::string after(bytes.begin(), bytes.end());
        SetFileAttributesA(iniPath().c_str(), FILE_ATTRIBUTE_NORMAL);

        ASSERT_GE(after.size(), before.size());
        std::string original = after.substr(0, before.size());
        // Only the value characters of the key lines may differ.
        std::string allowed = before;
        for (const char* key : {"UseBmpFont=", "ForceLanguage="}) {
            size_t at = before.find(key);
            if (at != std::string::npos) {
                size_t value = at + strlen(key);
                allowed[value] = original[value];
            }
        }
        EXPECT_EQ(allowed, original);
        EXPECT_EQ('1', after[after.rfind("UseBmpFont=") + 11]);
        EXPECT_EQ('2', after[after.rfind("ForceLanguage=") + 14]);
    }
}

TEST_F(ConfigFileTest, MissingFileIsNotCreated) {
    EXPECT_EQ(1, UpdateConfigFile());
    EXPECT_FALSE(FileExists(iniPath()));
}

// Also run as an unprivileged user, where a read-only file cannot be opened
// for writing unless its attribute is cleared first.
TEST_F(ConfigFileTest, ReadOnlyHiddenFileIsUpdatedAndProtectedAgain) {
    ASSERT_TRUE(WriteBytes(iniPath(), B("[Config]\r\nUseBmpFont=0\r\n")));
    ASSERT_TRUE(SetReadOnlyHidden(iniPath()));
    if (getenv("SCRIVORA_EXPECT_READONLY") != nullptr) {
        FILE* blocked = fopen(iniPath().c_str(), "r+");
        ASSERT_EQ(nullptr, blocked) << "read-only is not enforced here";
    }
    g_chineseDisplayOk = 0;
    g_uiLanguage = 0;
    EXPECT_EQ(1, UpdateConfigFile());
    EXPECT_EQ(B("[Config]\r\nUseBmpFont=1\r\n\r\nForceLanguage=0\r\n"), ReadBytes(iniPath()));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(iniPath()));
}

TEST_F(ConfigFileTest, ClearFileAttributesReportsWhetherItClearedAnything) {
    const std::string plain = folder / "plain.txt";
    const std::string protectedFile = folder / "protected.txt";
    ASSERT_TRUE(WriteBytes(plain, B("p")));
    ASSERT_TRUE(WriteBytes(protectedFile, B("q")));
    ASSERT_TRUE(SetReadOnlyHidden(protectedFile));

    EXPECT_EQ(0, ClearFileAttributes(plain.c_str(), 1, 1));
    EXPECT_EQ(0, ReadOnlyHiddenBits(plain));
    EXPECT_EQ(0, ClearFileAttributes((folder / "missing.txt").c_str(), 1, 1));

    // Only the bits asked for are cleared.
    EXPECT_EQ(0, ClearFileAttributes(protectedFile.c_str(), 0, 0));
    EXPECT_EQ(1, ClearFileAttributes(protectedFile.c_str(), 1, 0));
    EXPECT_EQ(FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(protectedFile));
    EXPECT_EQ(1, ClearFileAttributes(protectedFile.c_str(), 0, 1));
    EXPECT_EQ(0, ReadOnlyHiddenBits(protectedFile));

    ASSERT_TRUE(SetReadOnlyHidden(protectedFile));
    EXPECT_EQ(1, ClearFileAttributes(protectedFile.c_str(), 1, 1));
    EXPECT_EQ(0, ReadOnlyHiddenBits(protectedFile));
}

}  // namespace
