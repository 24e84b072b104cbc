// Paths, names and texts at the edge of their fixed buffers, under Wine.
//
// Every path the installation engine builds lives in a MAX_PATH (260-byte)
// buffer: its bytes and a terminating zero. At 259 and 260 bytes the operation
// must work on exactly the named file; at 261 it must be refused without
// touching anything, in particular not a file whose name is the path cut
// short. Files beyond MAX_PATH are planted and inspected through the wide
// "\\?\" functions, which have no such limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/bounded.h"
#include "app/globals.h"
#include "engine_fixture.h"
#include "install/earlier_install.h"
#include "install/manifest.h"
#include "install/payload.h"
#include "install/shortcuts.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "wizard/messages.h"

namespace {

// Lengths of a path's bytes plus its terminating zero around MAX_PATH.
constexpr size_t kBoundaryTotals[] = {MAX_PATH - 1, MAX_PATH, MAX_PATH + 1};

bool FitsInPath(size_t totalWithZero) { return totalWithZero <= MAX_PATH; }

// --- Long-path helpers -------------------------------------------------------

std::wstring LongPath(const std::string& path) {
    std::wstring wide = L"\\\\?\\";
    for (char c : path) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

bool WriteAnyLength(const std::string& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

Bytes ReadAnyLength(const std::string& path) {
    Bytes bytes;
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    uint8_t block[4096];
    DWORD n = 0;
    while (ReadFile(file, block, sizeof block, &n, nullptr) && n > 0) bytes.insert(bytes.end(), block, block + n);
    CloseHandle(file);
    return bytes;
}

// Read-only and hidden bits, or -1 when nothing is there.
int BitsAnyLength(const std::string& path) {
    DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    return static_cast<int>(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

bool ProtectAnyLength(const std::string& path) {
    std::wstring wide = LongPath(path);
    return SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN) &&
           SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
}

void RemoveAnyLength(const std::string& path) {
    std::wstring wide = LongPath(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
}

// Makes nested folders under base so that the result is exactly `length`
// bytes long (without its zero) and returns it.
std::string MakeFolderOfLength(const std::string& base, size_t length, char fill) {
    constexpr size_t kPiece = 50;
    std::string path = base;
    while (path.size() < length) {
        size_t remaining = length - path.size();   // a backslash and the name
        size_t name = remaining - 1 <= kPiece ? remaining - 1 : kPiece;
        if (remaining - 1 - name == 1) --name;    // never leave a lone backslash
        path += "\\" + std::string(name, fill);
        if (!CreateDirectoryA(path.c_str(), nullptr)) return "";
    }
    return path;
}

std::string LongestManifestFileName() {
    for (const ManifestEntry& entry : kManifest) {
        if (strlen(entry.fileName) == LongestManifestName()) return entry.fileName;
    }
    return "";
}

class PathLimitTest : public ::testing::Test {
protected:
    void TearDown() override { g_installFolder[0] = '\0'; }
    TempFolder folder;
};

// --- The file writer ---------------------------------------------------------

// The install folder joined with the longest file of the product, and the same
// path given explicitly, at 259, 260 and 261 bytes with the zero.
TEST_F(PathLimitTest, FileWriterAtTheJoinedPathLimit) {
    const std::string name = LongestManifestFileName();
    ASSERT_EQ(33u, name.size()) << name;
    const Bytes fresh = {'n', 'e', 'w', 0x00, 0x80};
    const Bytes old = {'o', 'l', 'd'};

    for (bool explicitPath : {false, true}) {
        for (size_t total : kBoundaryTotals) {
            SCOPED_TRACE(testing::Message() << (explicitPath ? "explicit path" : "install folder")
                                            << ", " << total << " bytes with the zero");
            TempFolder base;
            const std::string parent = MakeFolderOfLength(base.path(), total - 1 - 1 - name.size(), 'a');
            ASSERT_FALSE(parent.empty());
            const std::string target = parent + "\\" + name;
            ASSERT_EQ(total - 1, target.size());
            ASSERT_TRUE(CopyBounded(g_installFolder, explicitPath ? "Q:\\elsewhere" : parent.c_str()));

            // An older protected file in the way: replaced when the path fits,
            // left exactly as it was when it does not.
            ASSERT_TRUE(WriteAnyLength(target, old));
            ASSERT_TRUE(ProtectAnyLength(target));

            int result = WritePayloadFile(name.c_str(), fresh.data(), static_cast<uint32_t>(fresh.size()),
                                          0, 0, explicitPath ? target.c_str() : nullptr);
            if (FitsInPath(total)) {
                EXPECT_EQ(1, result);
                EXPECT_EQ(fresh, ReadAnyLength(target));
                EXPECT_EQ(0, BitsAnyLength(target));
            } else {
                EXPECT_EQ(0, result);
                EXPECT_EQ(old, ReadAnyLength(target));
                EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, BitsAnyLength(target));
            }
            // Nothing under a cut-short name.
            EXPECT_EQ(std::vector<std::string>{name}, FolderEntries(parent));
            RemoveAnyLength(target);
        }
    }
}

// --- Learned dictionaries ----------------------------------------------------

// Each learned-dictionary pattern with a four-digit suffix, its joined path at
// 259, 260 and 261 bytes: deleted (read-only and hidden as it is) when the
// path fits; otherwise left alone. A file named like the path cut short by
// one byte (a three-digit suffix, which no install deletes) always stays.
TEST_F(PathLimitTest, LearnedDictionariesAtTheJoinedPathLimit) {
    const Bytes learned = {'l', 'e', 'a', 'r', 'n', 't'};
    for (const char* pattern : kLearnedDictionaryNames) {
        for (const char* suffix : {"1111", "0101"}) {
            for (size_t total : kBoundaryTotals) {
                const std::string name = std::string(pattern) + suffix;
                SCOPED_TRACE(testing::Message() << name << ", " << total << " bytes with the zero");
                TempFolder base;
                const std::string install = MakeFolderOfLength(base.path(), total - 1 - 1 - name.size(), 'b');
                ASSERT_FALSE(install.empty());
                ASSERT_TRUE(CopyBounded(g_installFolder, install.c_str()));
                const std::string target = install + "\\" + name;
                const std::string cut = target.substr(0, target.size() - 1);
                ASSERT_EQ(total - 1, target.size());
                ASSERT_TRUE(WriteAnyLength(target, learned));
                ASSERT_TRUE(ProtectAnyLength(target));
                ASSERT_TRUE(WriteBytes(cut, learned));
                ASSERT_TRUE(SetReadOnlyHidden(cut));

                DeleteLearnedDictionaries();

                if (FitsInPath(total)) {
                    EXPECT_EQ(-1, BitsAnyLength(target));
                } else {
                    EXPECT_EQ(learned, ReadAnyLength(target));
                    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, BitsAnyLength(target));
                }
                EXPECT_EQ(learned, ReadBytes(cut));
                EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(cut));
                RemoveAnyLength(target);
            }
        }
    }
}

// The word-base probe and the existence test build their paths the same way:
// a path that does not fit finds nothing, even when a file is there.
TEST_F(PathLimitTest, WordBaseProbeAtTheJoinedPathLimit) {
    const std::string name = kWordBaseFileName;
    for (size_t total : kBoundaryTotals) {
        SCOPED_TRACE(testing::Message() << total << " bytes with the zero");
        TempFolder base;
        const std::string install = MakeFolderOfLength(base.path(), total - 1 - 1 - name.size(), 'c');
        ASSERT_FALSE(install.empty());
        ASSERT_TRUE(CopyBounded(g_installFolder, install.c_str()));
        ASSERT_TRUE(WriteAnyLength(install + "\\" + name, {0x80, 0x61}));
        EXPECT_EQ(FitsInPath(total), InstallFolderHasWeightedWordBase());
        EXPECT_EQ(FitsInPath(total), ExistsInInstallFolder(name.c_str()));
        RemoveAnyLength(install + "\\" + name);
    }
}

// --- Bounded text building ---------------------------------------------------

constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardBytes = 16;

// A destination of `size` bytes followed by guard bytes, all preset to the
// guard value.
struct Guarded {
    explicit Guarded(size_t size) : size(size), bytes(size + kGuardBytes, kGuard) {}
    char* buf() { return reinterpret_cast<char*>(bytes.data()); }
    bool GuardsIntact() const {
        return std::all_of(bytes.begin() + size, bytes.end(), [](uint8_t b) { return b == kGuard; });
    }
    size_t size;
    std::vector<uint8_t> bytes;
};

// CopyBounded and FormatBounded take a text of size-1 bytes and refuse one of
// size bytes or more: refused, the destination holds an empty string; never is
// a byte written past it.
TEST(BoundedTest, TextOfSizeMinusOneFitsAndSizeIsRefusedWithinTheBuffer) {
    for (size_t size : {1u, 2u, 5u, 100u, 256u, 260u}) {
        for (size_t length : {size - 1, size, size + 1, size + 40}) {
            SCOPED_TRACE(testing::Message() << "size " << size << ", text of " << length);
            const std::string text(length, 't');
            const bool fits = length + 1 <= size;

            Guarded copy(size);
            EXPECT_EQ(fits ? 1 : 0, CopyBounded(copy.buf(), size, text.c_str()));
            EXPECT_TRUE(copy.GuardsIntact());
            EXPECT_STREQ(fits ? text.c_str() : "", copy.buf());

            // The same length made by formatting: a fixed part and an argument.
            Guarded format(size);
            const std::string tail = length > 0 ? text.substr(1) : "";
            int result = length > 0 ? FormatBounded(format.buf(), size, "%c%s", 't', tail.c_str())
                                    : FormatBounded(format.buf(), size, "%s", "");
            EXPECT_EQ(fits ? 1 : 0, result);
            EXPECT_TRUE(format.GuardsIntact());
            EXPECT_STREQ(fits ? text.c_str() : "", format.buf());
        }
    }
}

TEST(BoundedTest, NoRoomAtAllWritesNothing) {
    Guarded copy(0);
    EXPECT_EQ(0, CopyBounded(copy.buf(), 0, ""));
    EXPECT_TRUE(copy.GuardsIntact());
    Guarded format(0);
    EXPECT_EQ(0, FormatBounded(format.buf(), 0, "%s", ""));
    EXPECT_TRUE(format.GuardsIntact());
    // A null text copies as the empty string.
    Guarded empty(1);
    EXPECT_EQ(1, CopyBounded(empty.buf(), 1, nullptr));
    EXPECT_EQ('\0', empty.buf()[0]);
    EXPECT_TRUE(empty.GuardsIntact());
}

// Double-byte text counts in bytes: a GB2312 text of 258 bytes and a zero fit
// 259 bytes; formatting numbers and characters is bounded the same way.
TEST(BoundedTest, FormattedPiecesCountInBytes) {
    std::string chinese;
    while (chinese.size() < 258) chinese += "\xD6\xD0";
    Guarded fits(259);
    EXPECT_EQ(1, FormatBounded(fits.buf(), 259, "%s", chinese.c_str()));
    EXPECT_EQ(chinese, fits.buf());
    EXPECT_TRUE(fits.GuardsIntact());
    Guarded refused(258);
    EXPECT_EQ(0, FormatBounded(refused.buf(), 258, "%s", chinese.c_str()));
    EXPECT_EQ('\0', refused.buf()[0]);
    EXPECT_TRUE(refused.GuardsIntact());

    // "ForceLanguage=%d" with a value of more digits than its buffer has room for.
    Guarded value(16);
    EXPECT_EQ(1, FormatBounded(value.buf(), 16, "%s%d", "ForceLanguage=", 2));
    EXPECT_STREQ("ForceLanguage=2", value.buf());
    EXPECT_EQ(0, FormatBounded(value.buf(), 16, "%s%d", "ForceLanguage=", 12));
    EXPECT_TRUE(value.GuardsIntact());
    EXPECT_EQ(0, FormatBounded(value.buf(), 16, "%s%d", "ForceLanguage=", -2147483647 - 1));
    EXPECT_TRUE(value.GuardsIntact());
}

// Every conversion the programs use, against the texts printf would make,
// and a conversion the formatter does not know, which it refuses.
TEST(BoundedTest, ConversionsGiveThePrintfTexts) {
    struct Case {
        const char* format;
        unsigned long number;
        const char* expected;
    } cases[] = {
        {"ZKU%05lX.EXE", 0xA3u, "ZKU000A3.EXE"},
        {"ZKU%05lX.EXE", 0xFFFFFu, "ZKUFFFFF.EXE"},
        {"/finish %lu x", 0u, "/finish 0 x"},
        {"/finish %lu x", 4294967295u, "/finish 4294967295 x"},
        {"[%3lu]", 7u, "[  7]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        Guarded out(32);
        EXPECT_EQ(1, FormatBounded(out.buf(), 32, c.format, c.number));
        EXPECT_STREQ(c.expected, out.buf());
        EXPECT_TRUE(out.GuardsIntact());
    }
    Guarded digits(8);
    EXPECT_EQ(1, FormatBounded(digits.buf(), 8, "%1d%1d%03d", 0, 1, -5));
    EXPECT_STREQ("01-05", digits.buf());
    Guarded unknown(16);
    EXPECT_EQ(0, FormatBounded(unknown.buf(), 16, "%x", 5u));
    EXPECT_STREQ("", unknown.buf());
    EXPECT_TRUE(unknown.GuardsIntact());
}

// --- The old shell's folders ---------------------------------------------------

// Windows folder, "profiles\<user>\" on the NT platform, and the folder kind's
// ending, built into a buffer of `size` bytes: a result of size-1 bytes fits,
// one byte more is refused with an empty buffer; nothing past the buffer.
TEST(OldShellLimitTest, BuilderFitsSizeMinusOneAndRefusesMore) {
    struct Case {
        const char* what;
        std::string windows;
        bool nt;
        int kind;
        std::string expectedStart, expectedEnd;   // around the part that grows
    };
    const std::vector<Case> cases = {
        {"NT programs", "C:\\WINNT", true, kFolderPrograms, "C:\\WINNT\\profiles\\", "\\start menu\\programs"},
        {"NT desktop, drive root", "D:\\", true, kFolderDesktop, "D:\\profiles\\", "\\Desktop"},
        {"NT, other kind", "C:\\WINNT", true, 5, "C:\\WINNT\\profiles\\", "\\"},
        {"9x programs", "C:\\WINDOWS", false, kFolderPrograms, "C:\\WINDOWS\\", "start menu\\programs"},
        {"9x desktop, drive root", "E:\\", false, kFolderDesktop, "E:\\", "Desktop"},
    };
    for (const Case& c : cases) {
        for (size_t size : {static_cast<size_t>(MAX_PATH), static_cast<size_t>(64)}) {
            const size_t fixed = c.expectedStart.size() + c.expectedEnd.size();
            // On the NT platform the user name takes up the room; otherwise the
            // Windows folder grows (before its backslash, if it has one).
            for (size_t resultLength : {size - 2, size - 1, size, size + 1}) {
                SCOPED_TRACE(testing::Message() << c.what << ", buffer " << size << ", result of "
                                                << resultLength);
                std::string windows = c.windows, user, expected;
                if (c.nt) {
                    user.assign(resultLength - fixed, 'u');
                    expected = c.expectedStart + user + c.expectedEnd;
                } else {
                    const bool root = windows.back() == '\\';
                    windows = windows.substr(0, windows.size() - (root ? 1 : 0)) +
                              std::string(resultLength - fixed, 'w') + (root ? "\\" : "");
                    expected = c.expectedStart.substr(0, c.expectedStart.size() - 1) +
                               std::string(resultLength - fixed, 'w') + "\\" + c.expectedEnd;
                }
                ASSERT_EQ(resultLength, expected.size());
                Guarded path(size);
                int result = BuildOldShellFolder(path.buf(), size, windows.c_str(),
                                                 c.nt ? user.c_str() : nullptr, c.kind);
                const bool fits = resultLength + 1 <= size;
                EXPECT_EQ(fits ? 1 : 0, result);
                EXPECT_EQ(fits ? expected : "", std::string(path.buf()));
                EXPECT_TRUE(path.GuardsIntact());
            }
        }
    }
}

// The user name as the system reports it, through GetOldShellFolder on the NT
// platform: a name that makes the programs folder 259 bytes works, one byte
// more is refused; a name that fills the 256-byte user buffer to the last
// byte, or does not fit it, is refused without a cut name in the path. Wine
// takes the user name from WINEUSERNAME, so the test sets that for itself.
TEST(OldShellLimitTest, UserNameAtItsLimits) {
    char original[256] = "";
    DWORD originalSize = GetEnvironmentVariableA("WINEUSERNAME", original, sizeof original);
    char windowsFolder[MAX_PATH];
    UINT windowsLength = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    ASSERT_GT(windowsLength, 0u);
    ASSERT_NE('\\', windowsFolder[windowsLength - 1]);
    // <windows>\profiles\<user>\start menu\programs
    const size_t fixed = windowsLength + strlen("\\profiles\\") + strlen("\\start menu\\programs");
    const size_t longestUser = MAX_PATH - 1 - fixed;

    g_isNtPlatform = 1;
    for (size_t userLength : {longestUser, longestUser + 1, static_cast<size_t>(255), static_cast<size_t>(256)}) {
        SCOPED_TRACE(testing::Message() << "user name of " << userLength);
        const std::string user(userLength, 'v');
        ASSERT_TRUE(SetEnvironmentVariableA("WINEUSERNAME", user.c_str()));
        char check[300];
        DWORD checkSize = sizeof check;
        ASSERT_TRUE(GetUserNameA(check, &checkSize));
        if (user != check) GTEST_SKIP() << "this Wine does not take the user name from WINEUSERNAME";

        char path[MAX_PATH + kGuardBytes];
        memset(path, kGuard, sizeof path);
        int result = GetOldShellFolder(path, kFolderPrograms);
        const bool fits = userLength <= longestUser;
        EXPECT_EQ(fits ? 1 : 0, result);
        if (fits) {
            EXPECT_STREQ((std::string(windowsFolder) + "\\profiles\\" + user + "\\start menu\\programs").c_str(),
                         path);
            EXPECT_EQ(MAX_PATH - 1, strlen(path));
        } else {
            // No path at all, rather than one with a cut user name.
            EXPECT_TRUE(path[0] == '\0' || static_cast<uint8_t>(path[0]) == kGuard);
        }
        EXPECT_TRUE(std::all_of(path + MAX_PATH, path + sizeof path,
                                [](char b) { return static_cast<uint8_t>(b) == kGuard; }));
    }
    SetEnvironmentVariableA("WINEUSERNAME", originalSize ? original : nullptr);
    g_isNtPlatform = 0;
}

// --- Start menu and desktop -------------------------------------------------

// Names of this program's own Start-menu folders and desktop shortcuts, so
// that nothing of another test or of the product is touched.
std::string OwnPrefix() { return "scrivora-limit-" + std::to_string(GetCurrentProcessId()) + "-"; }

// The prefix padded with `fill` to `length` bytes.
std::string OwnName(size_t length, char fill) {
    std::string name = OwnPrefix();
    return name + std::string(length - name.size(), fill);
}

class ShellLimitTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureShellFolders();
        g_wizardWindow = reinterpret_cast<HWND>(0x1234);
        g_isOldShell = 0;
        g_isNtPlatform = 1;
        ResetMessages(IDOK);
        ASSERT_EQ(1, GetShellFolder(programs, kFolderPrograms));
        ASSERT_EQ(1, GetShellFolder(desktop, kFolderDesktop));
        UseInstallFolder(installFolder.path());
        RemoveOwnEntries();
    }
    void TearDown() override {
        RemoveOwnEntries();
        g_installFolder[0] = '\0';
        g_wizardWindow = nullptr;
    }

    // Makes `path` the install folder, with the three programs in it.
    void UseInstallFolder(const std::string& path) {
        ASSERT_TRUE(CopyBounded(g_installFolder, path.c_str()));
        for (const char* name : {"ZEKEdit.exe", "Morvalen.exe", "ZEKEditUnInstall.exe"}) {
            const std::string target = path + "\\" + name;
            if (target.size() < MAX_PATH) {
                ASSERT_TRUE(WriteBytes(target, {'M', 'Z'}));
            }
        }
    }

    void RemoveOwnEntries() {
        for (const std::string& where : {std::string(programs), std::string(desktop)}) {
            for (const std::string& name : FolderEntries(where)) {
                if (name.compare(0, OwnPrefix().size(), OwnPrefix()) == 0) RemoveTree(where + "\\" + name);
            }
        }
    }

    std::vector<std::string> OwnEntries(const std::string& where) {
        std::vector<std::string> own;
        for (const std::string& name : FolderEntries(where)) {
            if (name.compare(0, OwnPrefix().size(), OwnPrefix()) == 0) own.push_back(name);
        }
        return own;
    }

    // The shortcut at `link` points to `target`, starts in its folder and
    // takes its description from the display name.
    void ExpectShortcut(const std::string& link, const std::string& display, const std::string& target) {
        ShortcutFields fields = ReadShortcut(link);
        ASSERT_TRUE(fields.loaded) << link;
        EXPECT_STRCASEEQ(target.c_str(), fields.target.c_str());
        EXPECT_EQ(display, fields.description);
        EXPECT_STRCASEEQ(target.c_str(), fields.iconPath.c_str());
        EXPECT_STRCASEEQ(target.substr(0, target.rfind('\\')).c_str(), fields.workingDirectory.c_str());
    }

    TempFolder installFolder;
    char programs[MAX_PATH] = "";
    char desktop[MAX_PATH] = "";
};

// The link path <programs>\<folder>\Editor.lnk at 259, 260 and 261 bytes with
// the zero: the shortcut is made; or the row fails, the entry message is
// shown and no shortcut under any name is left in the folder.
TEST_F(ShellLimitTest, StartMenuLinkPathAtTheLimit) {
    const ShortcutRow rows[] = {{"Editor", "ZEKEdit.exe"}, {nullptr, nullptr}};
    const size_t room = strlen(programs) + strlen("\\") + strlen("\\Editor.lnk");
    for (size_t total : kBoundaryTotals) {
        SCOPED_TRACE(testing::Message() << total << " bytes with the zero");
        ResetMessages(IDOK);
        const std::string name = OwnName(total - 1 - room, 'k');
        const std::string folder = std::string(programs) + "\\" + name;
        const std::string link = folder + "\\Editor.lnk";
        ASSERT_EQ(total - 1, link.size());

        int result = CreateStartMenuEntry(name.c_str(), rows, kFolderPrograms);
        if (FitsInPath(total)) {
            EXPECT_NE(0, result);
            EXPECT_TRUE(g_shownMessages.empty());
            ExpectShortcut(link, "Editor", installFolder / "ZEKEdit.exe");
            EXPECT_EQ(std::vector<std::string>{"Editor.lnk"}, FolderEntries(folder));
        } else {
            EXPECT_EQ(0, result);
            ASSERT_EQ(1u, g_shownMessages.size());
            EXPECT_EQ(ExpectedMessage(kMsgStartMenuEntryFailed, g_wizardWindow), g_shownMessages[0]);
            EXPECT_TRUE(FolderEntries(folder).empty());
        }
        RemoveOwnEntries();
    }
}

// The product's folder in the programs folder at 259 and 260 bytes (with the
// zero) is made but cannot take a shortcut: the entry message, no shortcut.
// At 261 bytes the folder path itself is refused and nothing is made; row 9
// names the folder.
// A folder path that cannot be created is shown in row 9 when it leaves the
// message within its 260 bytes (246 bytes of path), otherwise the message
// goes without it.
TEST_F(ShellLimitTest, StartMenuFolderPathAtTheLimit) {
    const ShortcutRow rows[] = {{"E", "ZEKEdit.exe"}, {nullptr, nullptr}};
    const size_t room = strlen(programs) + strlen("\\");
    for (size_t total : kBoundaryTotals) {
        SCOPED_TRACE(testing::Message() << total << " bytes with the zero");
        ResetMessages(IDOK);
        const std::string name = OwnName(total - 1 - room, 'f');
        const std::string folder = std::string(programs) + "\\" + name;
        ASSERT_EQ(total - 1, folder.size());

        EXPECT_EQ(0, CreateStartMenuEntry(name.c_str(), rows, kFolderPrograms));
        ASSERT_EQ(1u, g_shownMessages.size());
        if (FitsInPath(total)) {
            // The folder is made (this file system takes folders that long),
            // but no shortcut fits in it.
            EXPECT_EQ(ExpectedMessage(kMsgStartMenuEntryFailed, g_wizardWindow), g_shownMessages[0]);
            EXPECT_TRUE(FileExists(folder));
            EXPECT_TRUE(FolderEntries(folder).empty());
        } else {
            EXPECT_EQ(ExpectedMessage(kMsgCannotCreateStartMenuFolder, g_wizardWindow, name.c_str()),
                      g_shownMessages[0]);
            EXPECT_TRUE(OwnEntries(programs).empty());
        }
        RemoveOwnEntries();
    }

    // A folder inside a missing folder cannot be made (one level only).
    const size_t ownBytes = strlen(MessageOfRow(kMsgCannotCreateStartMenuFolder).chinese) - 2;
    const size_t longestShown = MAX_PATH - 1 - ownBytes;
    for (size_t length : {longestShown, longestShown + 1}) {
        SCOPED_TRACE(testing::Message() << "folder path of " << length << " that cannot be made");
        ResetMessages(IDOK);
        const std::string missing = OwnPrefix() + "missing";
        const std::string name = missing + "\\" + std::string(length - strlen(programs) - 2 - missing.size(), 'q');
        const std::string folder = std::string(programs) + "\\" + name;
        ASSERT_EQ(length, folder.size());
        EXPECT_EQ(0, CreateStartMenuEntry(name.c_str(), rows, kFolderPrograms));
        ASSERT_EQ(1u, g_shownMessages.size());
        EXPECT_EQ(ExpectedMessage(kMsgCannotCreateStartMenuFolder, g_wizardWindow,
                                  length == longestShown ? folder.c_str() : "..."),
                  g_shownMessages[0]);
        EXPECT_TRUE(OwnEntries(programs).empty());
    }
}

// The target <install folder>\ZEKEdit.exe at 259, 260 and 261 bytes: the
// Start-menu shortcut points to exactly that file, or the row fails with the
// entry message and no shortcut.
TEST_F(ShellLimitTest, StartMenuTargetAtTheLimit) {
    const std::string display = OwnName(30, 'e');
    const ShortcutRow rows[] = {{display.c_str(), "ZEKEdit.exe"}, {nullptr, nullptr}};
    for (size_t total : kBoundaryTotals) {
        SCOPED_TRACE(testing::Message() << total << " bytes with the zero");
        ResetMessages(IDOK);
        TempFolder base;
        const std::string install =
            MakeFolderOfLength(base.path(), total - 1 - strlen("\\ZEKEdit.exe"), 'i');
        ASSERT_FALSE(install.empty());
        UseInstallFolder(install);
        const std::string link = std::string(programs) + "\\" + display + ".lnk";

        int result = CreateStartMenuEntry(nullptr, rows, kFolderPrograms);
        if (FitsInPath(total)) {
            EXPECT_NE(0, result);
            EXPECT_TRUE(g_shownMessages.empty());
            ExpectShortcut(link, display, install + "\\ZEKEdit.exe");
        } else {
            EXPECT_EQ(0, result);
            ASSERT_EQ(1u, g_shownMessages.size());
            EXPECT_EQ(ExpectedMessage(kMsgStartMenuEntryFailed, g_wizardWindow), g_shownMessages[0]);
            EXPECT_FALSE(FileExists(link));
        }
        RemoveOwnEntries();
    }
}

// The shortcut writer itself takes a target path and a link path of at most
// 259 bytes; one byte more is refused and no link is saved under any name.
TEST_F(ShellLimitTest, ShortcutWriterTakesPathsUpToMaxPath) {
    const std::string display = OwnName(30, 'w');
    for (size_t total : kBoundaryTotals) {
        SCOPED_TRACE(testing::Message() << "target of " << total << " bytes with the zero");
        TempFolder base;
        const std::string target = MakeFolderOfLength(base.path(), total - 1 - strlen("\\ZEKEdit.exe"), 'x') +
                                   "\\ZEKEdit.exe";
        ASSERT_EQ(total - 1, target.size());
        ASSERT_TRUE(WriteAnyLength(target, {'M', 'Z'}));
        const std::string link = std::string(desktop) + "\\" + display + ".lnk";
        EXPECT_EQ(FitsInPath(total) ? 1 : 0, CreateShortcut(target.c_str(), link.c_str(), display.c_str()));
        if (FitsInPath(total)) {
            ExpectShortcut(link, display, target);
        } else {
            EXPECT_TRUE(OwnEntries(desktop).empty());
        }
        RemoveOwnEntries();
        RemoveAnyLength(target);
    }
    for (size_t total : kBoundaryTotals) {
        SCOPED_TRACE(testing::Message() << "link of " << total << " bytes with the zero");
        const std::string folder = std::string(programs) + "\\" + OwnName(30, 'l');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        const std::string link = folder + "\\" + std::string(total - 1 - folder.size() - 1 - 4, 'n') + ".lnk";
        ASSERT_EQ(total - 1, link.size());
        const std::string target = installFolder / "ZEKEdit.exe";
        EXPECT_EQ(FitsInPath(total) ? 1 : 0, CreateShortcut(target.c_str(), link.c_str(), "Editor"));
        if (FitsInPath(total)) {
            ExpectShortcut(link, "Editor", target);
        } else {
            EXPECT_TRUE(FolderEntries(folder).empty());
        }
        RemoveOwnEntries();
    }
}

// The desktop shortcut's file part, "\<display name>.lnk", has 100 bytes with
// its zero: a display name of 94 bytes fits, 95 does not. Its target path has
// MAX_PATH bytes. Either way nothing is shown; a refused shortcut leaves no
// file under any name.
TEST_F(ShellLimitTest, DesktopShortcutAtItsLimits) {
    constexpr size_t kLongestDisplay = 100 - 1 - strlen("\\") - strlen(".lnk");
    for (size_t length : {kLongestDisplay - 1, kLongestDisplay, kLongestDisplay + 1}) {
        SCOPED_TRACE(testing::Message() << "display name of " << length);
        const std::string display = OwnName(length, 'd');
        CreateDesktopShortcut("Morvalen.exe", display.c_str());
        if (length <= kLongestDisplay) {
            ExpectShortcut(std::string(desktop) + "\\" + display + ".lnk", display, installFolder / "Morvalen.exe");
            EXPECT_EQ(std::vector<std::string>{display + ".lnk"}, OwnEntries(desktop));
        } else {
            EXPECT_TRUE(OwnEntries(desktop).empty());
        }
        RemoveOwnEntries();
    }

    const std::string display = OwnName(30, 't');
    for (size_t total : kBoundaryTotals) {
        SCOPED_TRACE(testing::Message() << "target of " << total << " bytes with the zero");
        TempFolder base;
        const std::string install =
            MakeFolderOfLength(base.path(), total - 1 - strlen("\\Morvalen.exe"), 'j');
        ASSERT_FALSE(install.empty());
        UseInstallFolder(install);
        CreateDesktopShortcut("Morvalen.exe", display.c_str());
        if (FitsInPath(total)) {
            ExpectShortcut(std::string(desktop) + "\\" + display + ".lnk", display, install + "\\Morvalen.exe");
        } else {
            EXPECT_TRUE(OwnEntries(desktop).empty());
        }
        RemoveOwnEntries();
    }
    EXPECT_TRUE(g_shownMessages.empty());
}

// --- Message row 9 -----------------------------------------------------------

// Row 9's Chinese text is "无法建目录(%s)!" with the folder path in a buffer of
// 260 bytes: 13 bytes of its own, so a path of 246 bytes is shown and one of
// 247 is not; the message is still shown once, with "..." in its place.
TEST(MessageRowLimitTest, FolderPathInRowNineUpToTheBuffer) {
    constexpr size_t kOwnBytes = 13;
    ASSERT_EQ(kOwnBytes + 2, strlen(MessageOfRow(kMsgCannotCreateStartMenuFolder).chinese));
    const HWND owner = reinterpret_cast<HWND>(0x5678);
    for (size_t length : {MAX_PATH - 2 - kOwnBytes, MAX_PATH - 1 - kOwnBytes, MAX_PATH - kOwnBytes,
                          static_cast<size_t>(MAX_PATH - 1), static_cast<size_t>(MAX_PATH + 100)}) {
        SCOPED_TRACE(testing::Message() << "detail of " << length);
        const std::string detail = "C:\\" + std::string(length - 3, 'p');
        const bool shown = length + kOwnBytes + 1 <= MAX_PATH;
        ResetMessages(IDOK);
        EXPECT_EQ(IDOK, ShowMessageRow(kMsgCannotCreateStartMenuFolder, owner, detail.c_str()));
        ASSERT_EQ(1u, g_shownMessages.size());
        EXPECT_EQ(ExpectedMessage(kMsgCannotCreateStartMenuFolder, owner, shown ? detail.c_str() : "..."),
                  g_shownMessages[0]);
        if (shown) {
            EXPECT_EQ(kOwnBytes + length, g_shownMessages[0].chinese.size());
        }
    }
}

}  // namespace
