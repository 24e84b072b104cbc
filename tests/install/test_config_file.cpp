// UpdateConfigFile and ClearFileAttributes against real files under Wine.
// Expected files are written out byte for byte, CR LF included.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// --- Odd lines -----------------------------------------------------------------

// What an update may do to a file: change the value character of a line that
// is exactly a key and a one-character value (standing at a line start), and
// append the defined texts at the end. Every other byte stays as it was, each
// key gets its new value exactly once, and nothing is lost.
bool AtLineStart(const std::string& text, size_t at) { return at == 0 || text[at - 1] == '\n'; }
bool LineEndsAt(const std::string& text, size_t at) {
    return at == text.size() || text[at] == '\r' || text[at] == '\n';
}

constexpr const char* kKeys[] = {"UseBmpFont=", "ForceLanguage="};

// The index of the key whose one-character value stands at `at`, or -1.
int KeyValueAt(const std::string& text, size_t at) {
    for (int k = 0; k < 2; ++k) {
        size_t keyLength = strlen(kKeys[k]);
        if (at >= keyLength && text.compare(at - keyLength, keyLength, kKeys[k]) == 0 &&
            AtLineStart(text, at - keyLength) && LineEndsAt(text, at + 1)) {
            return k;
        }
    }
    return -1;
}

bool ConsumePrefix(std::string& rest, const std::string& prefix) {
    if (rest.compare(0, prefix.size(), prefix) != 0) return false;
    rest.erase(0, prefix.size());
    return true;
}

void ExpectOnlyKeyLinesChanged(const std::string& before, const std::string& after, char bmpFont,
                               int language) {
    const char values[2] = {bmpFont, static_cast<char>('0' + language)};
    ASSERT_GE(after.size(), before.size()) << "bytes were lost";
    bool rewritten[2] = {false, false};
    for (size_t i = 0; i < before.size(); ++i) {
        if (after[i] == before[i]) continue;
        int key = KeyValueAt(before, i);
        ASSERT_NE(-1, key) << "byte " << i << " changed outside a key line's value";
        EXPECT_EQ(values[key], after[i]) << "at byte " << i;
        rewritten[key] = true;
    }
    std::string rest = after.substr(before.size());
    ConsumePrefix(rest, "\r\n\r\n[Config]\r\n\r\n");
    bool appended[2] = {ConsumePrefix(rest, std::string("\r\nUseBmpFont=") + values[0] + "\r\n"),
                        ConsumePrefix(rest, std::string("\r\nForceLanguage=") + values[1] + "\r\n")};
    EXPECT_EQ("", rest) << "appended text that is not a header or a key line";
    for (int k = 0; k < 2; ++k) {
        EXPECT_NE(rewritten[k], appended[k]) << kKeys[k] << " must get its value exactly once";
    }
}

std::string Filled(size_t length, char fill) { return std::string(length, fill); }
// A key line of `length` bytes: the key, a one-character value, a comment.
std::string LongKeyLine(const std::string& keyAndValue, size_t length) {
    return keyAndValue + " ;" + Filled(length - keyAndValue.size() - 2, 'k');
}

struct OddCase {
    std::string what;
    std::string before;
    std::string after;   // empty: the stream's positions are not exact here,
                         // so only the rule above is checked
};

// Every case updates UseBmpFont from 0 to 1 and ForceLanguage from 0 to 2, so
// that every rewrite shows.
std::vector<OddCase> OddCases() {
    const std::string keys = "UseBmpFont=0\r\nForceLanguage=0\r\n";
    const std::string newKeys = "UseBmpFont=1\r\nForceLanguage=2\r\n";
    const std::string bothAppended = "\r\nUseBmpFont=1\r\n\r\nForceLanguage=2\r\n";
    std::vector<OddCase> cases;
    // A line of 254 bytes and its line end come in one read; longer lines in
    // pieces of 255.
    for (size_t length : {254u, 255u, 256u, 1000u}) {
        const std::string n = std::to_string(length);
        const std::string line = "; " + Filled(length - 2, 'c');
        cases.push_back({"a line of " + n + " before the keys", line + "\r\n[Config]\r\n" + keys,
                         line + "\r\n[Config]\r\n" + newKeys});
        cases.push_back({"a line of " + n + " between the keys",
                         "[Config]\r\nUseBmpFont=0\r\n" + line + "\r\nForceLanguage=0\r\n",
                         "[Config]\r\nUseBmpFont=1\r\n" + line + "\r\nForceLanguage=2\r\n"});
        const std::string keyLines =
            "[Config]\r\n" + LongKeyLine("UseBmpFont=0", length) + "\r\n" + LongKeyLine("ForceLanguage=0", length);
        cases.push_back({"key lines of " + n + " with a comment", keyLines + "\r\n",
                         keyLines + "\r\n" + bothAppended});
        cases.push_back({"key lines of " + n + ", the last without a line end", keyLines,
                         keyLines + bothAppended});
    }
    const std::string thirdPiece = Filled(510, 'z') + "ForceLanguage=0" + Filled(475, 'z');
    cases.push_back({"a key at the start of a 1000-byte line's third piece",
                     "[Config]\r\nUseBmpFont=0\r\n" + thirdPiece + "\r\n",
                     "[Config]\r\nUseBmpFont=1\r\n" + thirdPiece + "\r\n\r\nForceLanguage=2\r\n"});
    const std::string keyEndsLine = Filled(510, 'z') + "ForceLanguage=0";
    cases.push_back({"a 525-byte line whose third piece is a key and its value",
                     "[Config]\r\nUseBmpFont=0\r\n" + keyEndsLine + "\r\n",
                     "[Config]\r\nUseBmpFont=1\r\n" + keyEndsLine + "\r\n\r\nForceLanguage=2\r\n"});
    std::string bulk;
    for (int i = 0; i < 6; ++i) bulk += "; " + Filled(998, static_cast<char>('a' + i)) + "\r\n";
    cases.push_back({"keys after 6 KB of long lines", bulk + "[Config]\r\n" + keys,
                     bulk + "[Config]\r\n" + newKeys});

    // Keys that are not key lines of their own.
    cases.push_back({"keys in comments, then the key lines",
                     "[Config]\r\n;UseBmpFont=0\r\nUseBmpFont=0\r\n;ForceLanguage=0\r\nForceLanguage=0\r\n",
                     "[Config]\r\n;UseBmpFont=0\r\nUseBmpFont=1\r\n;ForceLanguage=0\r\nForceLanguage=2\r\n"});
    cases.push_back({"keys in comments only", "[Config]\r\n;UseBmpFont=0\r\n;ForceLanguage=0\r\n",
                     "[Config]\r\n;UseBmpFont=0\r\n;ForceLanguage=0\r\n" + bothAppended});
    cases.push_back({"indented keys", "[Config]\r\n  UseBmpFont=0\r\n\tForceLanguage=0\r\n",
                     "[Config]\r\n  UseBmpFont=0\r\n\tForceLanguage=0\r\n" + bothAppended});
    cases.push_back({"keys one byte in, as long as a key line", "[Config]\r\nxUseBmpFont=\r\n ForceLanguage=\r\n",
                     "[Config]\r\nxUseBmpFont=\r\n ForceLanguage=\r\n" + bothAppended});
    cases.push_back({"both keys on one line", "[Config]\r\nUseBmpFont=0 ForceLanguage=0\r\n",
                     "[Config]\r\nUseBmpFont=0 ForceLanguage=0\r\n" + bothAppended});
    cases.push_back({"a key in another section",
                     "[Other]\r\nUseBmpFont=0\r\n[Config]\r\nForceLanguage=0\r\nB=2\r\n",
                     "[Other]\r\nUseBmpFont=1\r\n[Config]\r\nForceLanguage=2\r\nB=2\r\n"});
    cases.push_back({"one key before the section, one in it", "UseBmpFont=0\r\n[Config]\r\nForceLanguage=0\r\n",
                     "UseBmpFont=1\r\n[Config]\r\nForceLanguage=2\r\n"});
    // The scan stops after the second key, before the section's line: the
    // header goes to the end, never over a line.
    cases.push_back({"both keys before a later section", keys + "[Config]\r\nA=1\r\n",
                     newKeys + "[Config]\r\nA=1\r\n\r\n\r\n[Config]\r\n\r\n"});

    // Values of other lengths.
    cases.push_back({"empty value and a two-digit value", "[Config]\r\nUseBmpFont=\r\nForceLanguage=12\r\n",
                     "[Config]\r\nUseBmpFont=\r\nForceLanguage=12\r\n" + bothAppended});
    cases.push_back({"a value with a trailing blank and one with a leading zero",
                     "[Config]\r\nUseBmpFont=0 \r\nForceLanguage=00\r\n",
                     "[Config]\r\nUseBmpFont=0 \r\nForceLanguage=00\r\n" + bothAppended});

    // Line ends.
    cases.push_back({"a plain last line without a line end", "[Config]\r\nUseBmpFont=0\r\n; end",
                     "[Config]\r\nUseBmpFont=1\r\n; end\r\nForceLanguage=2\r\n"});
    cases.push_back({"the second key last, without a line end", "[Config]\r\nUseBmpFont=0\r\nForceLanguage=0",
                     "[Config]\r\nUseBmpFont=1\r\nForceLanguage=2"});
    cases.push_back({"nothing but a header without a line end", "[Config]", "[Config]" + bothAppended});
    cases.push_back({"CR-only line ends", "[Config]\rUseBmpFont=0\rForceLanguage=0\r",
                     "[Config]\rUseBmpFont=0\rForceLanguage=0\r" + bothAppended});
    cases.push_back({"CR-only line ends, a key first", "UseBmpFont=0\rForceLanguage=0\r",
                     "UseBmpFont=0\rForceLanguage=0\r\r\n\r\n[Config]\r\n\r\n" + bothAppended});
    std::string crLong;
    for (int i = 0; i < 3; ++i) crLong += "; " + Filled(120, 'r') + "\r";
    crLong += "[Config]\rUseBmpFont=0\r";
    cases.push_back({"CR-only line ends over 255 bytes", crLong, crLong + bothAppended});
    cases.push_back({"a CR inside a line", "[Config]\r\nA=1\rB=2\r\nUseBmpFont=0\r\nForceLanguage=0\r\n",
                     "[Config]\r\nA=1\rB=2\r\nUseBmpFont=1\r\nForceLanguage=2\r\n"});

    // Bare LF line ends: the runtime counts positions as if every line end
    // were CR LF, so these may be rewritten in place or appended.
    cases.push_back({"LF-only line ends", "[Config]\nUseBmpFont=0\nForceLanguage=0\n", ""});
    cases.push_back({"LF-only, a 300-byte line before the keys",
                     Filled(300, 'l') + "\n[Config]\nUseBmpFont=0\nForceLanguage=0\n", ""});
    std::string lfBulk;
    for (int i = 0; i < 6; ++i) lfBulk += Filled(999, static_cast<char>('a' + i)) + "\n";
    cases.push_back({"LF-only, keys after 6 KB", lfBulk + "[Config]\nUseBmpFont=0\nForceLanguage=0\n", ""});
    cases.push_back({"LF-only, key lines repeated", "UseBmpFont=0\nUseBmpFont=0\nX=1\nForceLanguage=0\nForceLanguage=0\n", ""});
    cases.push_back({"LF-only, no final line end", "[Config]\nUseBmpFont=0\nForceLanguage=0", ""});
    cases.push_back({"LF and CR LF mixed", "[A]\nX=1\r\n[Config]\nUseBmpFont=0\r\nY=2\nForceLanguage=0\r\n", ""});
    // The runtime's text mode takes Ctrl-Z for the end of the file: nothing
    // after it is read, and whatever is appended follows it.
    cases.push_back({"an end-of-file mark before the second key",
                     "[Config]\r\nUseBmpFont=0\r\n\x1a" "ForceLanguage=0\r\n", ""});
    // A zero byte hides the rest of its line from the scan.
    static const char kZeroByte[] = "[Config]\r\nA=\0b\r\nUseBmpFont=0\r\nForceLanguage=0\r\n";
    cases.push_back({"a zero byte in a line", std::string(kZeroByte, sizeof kZeroByte - 1), ""});
    return cases;
}

TEST_F(ConfigFileTest, OddLinesNeverDamageOtherLines) {
    for (const OddCase& c : OddCases()) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(iniPath(), B(c.before)));
        g_chineseDisplayOk = 0;
        g_uiLanguage = 2;
        EXPECT_EQ(1, UpdateConfigFile());
        Bytes bytes = ReadBytes(iniPath());
        const std::string after(bytes.begin(), bytes.end());
        EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(iniPath()));
        SetFileAttributesA(iniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        ExpectOnlyKeyLinesChanged(c.before, after, '1', 2);
        if (!c.after.empty()) {
            EXPECT_EQ(c.after, after);
        }
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
