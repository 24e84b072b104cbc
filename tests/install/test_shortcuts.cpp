// Shortcuts and shell folders under Wine: .lnk files are read back through
// the shell link object; messages go to the recording ShowMessage.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/bounded.h"
#include "app/globals.h"
#include "engine_fixture.h"
#include "install/manifest.h"
#include "install/program_manager.h"
#include "install/shortcut_names.h"
#include "install/shortcuts.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

// A Start-menu folder name of this test program alone.
std::string TestFolderName() { return "scrivora-test-" + std::to_string(GetCurrentProcessId()); }

class ShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyBounded(g_installFolder, installFolder.path().c_str()));
        g_wizardWindow = reinterpret_cast<HWND>(0x1234);
        g_isOldShell = 0;
        g_isNtPlatform = 1;
        ResetMessages(IDOK);
        for (const char* name : {"ZEKEdit.exe", "Morvalen.exe", "ZEKEditUnInstall.exe"}) {
            ASSERT_TRUE(WriteBytes(installFolder / name, {'M', 'Z'}));
        }
        RemoveTree(startMenuFolder());
    }
    void TearDown() override {
        RemoveTree(startMenuFolder());
        g_installFolder[0] = '\0';
        g_wizardWindow = nullptr;
    }

    std::string startMenuFolder() const { return ExpectedProgramsFolder() + "\\" + TestFolderName(); }

    // The three rows the product's Start-menu entry has.
    static constexpr ShortcutRow kRows[] = {{"Editor", "ZEKEdit.exe"},
                                            {"Notes", "Morvalen.exe"},
                                            {"Remove", "ZEKEditUnInstall.exe"},
                                            {nullptr, nullptr}};

    void ExpectShortcut(const std::string& link, const char* description, const char* target) {
        SCOPED_TRACE(link);
        ShortcutFields fields = ReadShortcut(link);
        ASSERT_TRUE(fields.loaded);
        std::string targetPath = installFolder / target;
        EXPECT_STRCASEEQ(targetPath.c_str(), fields.target.c_str());
        EXPECT_EQ(description, fields.description);
        EXPECT_STRCASEEQ(targetPath.c_str(), fields.iconPath.c_str());
        EXPECT_EQ(0, fields.iconIndex);
        EXPECT_STRCASEEQ(installFolder.path().c_str(), fields.workingDirectory.c_str());
    }

    TempFolder installFolder;
};

TEST_F(ShortcutTest, ShellFoldersAreThePrefixFolders) {
    char path[MAX_PATH];
    ASSERT_EQ(1, GetShellFolder(path, kFolderPrograms));
    EXPECT_STRCASEEQ(ExpectedProgramsFolder().c_str(), path);
    ASSERT_EQ(1, GetShellFolder(path, kFolderDesktop));
    EXPECT_STRCASEEQ(ExpectedDesktopFolder().c_str(), path);
}

TEST_F(ShortcutTest, StartMenuEntryHoldsOneShortcutPerRow) {
    const std::string name = TestFolderName();
    EXPECT_NE(0, CreateStartMenuEntry(name.c_str(), kRows, kFolderPrograms));
    EXPECT_TRUE(g_shownMessages.empty());
    ExpectShortcut(startMenuFolder() + "\\Editor.lnk", "Editor", "ZEKEdit.exe");
    ExpectShortcut(startMenuFolder() + "\\Notes.lnk", "Notes", "Morvalen.exe");
    ExpectShortcut(startMenuFolder() + "\\Remove.lnk", "Remove", "ZEKEditUnInstall.exe");
}

TEST_F(ShortcutTest, ExistingStartMenuFolderIsReused) {
    const std::string name = TestFolderName();
    ASSERT_TRUE(CreateDirectoryA(startMenuFolder().c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(startMenuFolder() + "\\Editor.lnk", {'o', 'l', 'd'}));
    ASSERT_TRUE(WriteBytes(startMenuFolder() + "\\other.txt", {'k'}));

    EXPECT_NE(0, CreateStartMenuEntry(name.c_str(), kRows, kFolderPrograms));
    EXPECT_TRUE(g_shownMessages.empty());
    ExpectShortcut(startMenuFolder() + "\\Editor.lnk", "Editor", "ZEKEdit.exe");
    EXPECT_EQ(Bytes({'k'}), ReadBytes(startMenuFolder() + "\\other.txt"));
}

TEST_F(ShortcutTest, NoFolderNamePutsShortcutsIntoTheProgramsFolder) {
    const std::string display = TestFolderName();
    const ShortcutRow rows[] = {{display.c_str(), "ZEKEdit.exe"}, {nullptr, nullptr}};
    for (const char* folderName : {static_cast<const char*>(nullptr), ""}) {
        const std::string link = ExpectedProgramsFolder() + "\\" + display + ".lnk";
        EXPECT_NE(0, CreateStartMenuEntry(folderName, rows, kFolderPrograms));
        ExpectShortcut(link, display.c_str(), "ZEKEdit.exe");
        DeleteFileA(link.c_str());
    }
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(ShortcutTest, FileInPlaceOfTheFolderGivesTheEntryMessage) {
    const std::string name = TestFolderName();
    ASSERT_TRUE(WriteBytes(startMenuFolder(), {'f'}));
    EXPECT_EQ(0, CreateStartMenuEntry(name.c_str(), kRows, kFolderPrograms));
    ASSERT_EQ(1u, g_shownMessages.size());
    EXPECT_EQ(ExpectedMessage(kMsgStartMenuEntryFailed, g_wizardWindow), g_shownMessages[0]);
    EXPECT_EQ(Bytes({'f'}), ReadBytes(startMenuFolder()));
}

TEST_F(ShortcutTest, FolderThatCannotBeMadeGivesTheFolderMessageOnly) {
    // One level only: a folder inside a missing folder cannot be made.
    const std::string name = TestFolderName() + "\\inner";
    EXPECT_EQ(0, CreateStartMenuEntry(name.c_str(), kRows, kFolderPrograms));
    const std::string path = ExpectedProgramsFolder() + "\\" + name;
    ASSERT_EQ(1u, g_shownMessages.size());
    EXPECT_EQ(ExpectedMessage(kMsgCannotCreateStartMenuFolder, g_wizardWindow, path.c_str()),
              g_shownMessages[0]);
    EXPECT_FALSE(FileExists(startMenuFolder()));
}

// A row fails when its link cannot be saved (a missing subfolder) or its link
// path does not fit in MAX_PATH. Only the last row's outcome counts.
TEST_F(ShortcutTest, OnlyTheLastRowDecidesTheOutcome) {
    const std::string tooLong(MAX_PATH, 'n');
    struct Case {
        const char* what;
        ShortcutRow rows[4];
        bool succeeds;
    } cases[] = {
        {"first row unsaveable", {{"missing\\Editor", "ZEKEdit.exe"}, kRows[1], kRows[2], {}}, true},
        {"first row too long", {{tooLong.c_str(), "ZEKEdit.exe"}, kRows[1], kRows[2], {}}, true},
        {"last row unsaveable", {kRows[0], kRows[1], {"missing\\Remove", "ZEKEditUnInstall.exe"}, {}}, false},
        {"last row too long", {kRows[0], kRows[1], {tooLong.c_str(), "ZEKEditUnInstall.exe"}, {}}, false},
    };
    const std::string name = TestFolderName();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetMessages(IDOK);
        int result = CreateStartMenuEntry(name.c_str(), c.rows, kFolderPrograms);
        if (c.succeeds) {
            EXPECT_NE(0, result);
            EXPECT_TRUE(g_shownMessages.empty());
        } else {
            EXPECT_EQ(0, result);
            ASSERT_EQ(1u, g_shownMessages.size());
            EXPECT_EQ(ExpectedMessage(kMsgStartMenuEntryFailed, g_wizardWindow), g_shownMessages[0]);
        }
        // The rows that can be made are made whatever the others do.
        EXPECT_TRUE(FileExists(startMenuFolder() + "\\Notes.lnk"));
        RemoveTree(startMenuFolder());
    }
}

TEST_F(ShortcutTest, DesktopShortcutIsMadeSilently) {
    const std::string display = TestFolderName();
    const std::string link = ExpectedDesktopFolder() + "\\" + display + ".lnk";
    CreateDesktopShortcut("Morvalen.exe", display.c_str());
    ExpectShortcut(link, display.c_str(), "Morvalen.exe");
    DeleteFileA(link.c_str());

    // A display name beyond the desktop's 100-byte file part, or a link that
    // cannot be saved: no shortcut and no message.
    const std::string tooLong(100, 'd');
    CreateDesktopShortcut("Morvalen.exe", tooLong.c_str());
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + tooLong + ".lnk"));
    CreateDesktopShortcut("Morvalen.exe", "missing\\Notes");
    EXPECT_TRUE(g_shownMessages.empty());
}

// The file names that several parts of the program share are one object each:
// the shortcut names of every language (two source files) point at the very
// array this file sees, not at a copy of their own.
TEST(ShortcutNamesTest, SharedFileNamesAreOneObjectInEveryFile) {
    for (int code = 0; code <= 2; ++code) {
        const ShortcutRow* rows = ShortcutNamesFor(code).rows;
        EXPECT_EQ(rows[0].targetFileName, static_cast<const char*>(kEditorFileName)) << code;
        EXPECT_EQ(rows[1].targetFileName, static_cast<const char*>(kNotesFileName)) << code;
        EXPECT_EQ(rows[2].targetFileName, static_cast<const char*>(kUninstallerFileName)) << code;
    }
}

TEST(OldShellFolderTest, BuildsTheOldLayoutUnderTheWindowsFolder) {
    struct Case {
        const char* windows;
        const char* user;
        int kind;
        const char* expected;
    } cases[] = {
        {"C:\\WINDOWS", nullptr, kFolderPrograms, "C:\\WINDOWS\\start menu\\programs"},
        {"C:\\WINDOWS", nullptr, kFolderDesktop, "C:\\WINDOWS\\Desktop"},
        {"D:\\", nullptr, kFolderPrograms, "D:\\start menu\\programs"},
        {"D:\\WINNT", "admin", kFolderPrograms, "D:\\WINNT\\profiles\\admin\\start menu\\programs"},
        {"D:\\WINNT", "admin", kFolderDesktop, "D:\\WINNT\\profiles\\admin\\Desktop"},
        {"E:\\", "admin", kFolderDesktop, "E:\\profiles\\admin\\Desktop"},
        {"C:\\WINDOWS", nullptr, 5, "C:\\WINDOWS\\"},
        {"D:\\WINNT", "admin", 5, "D:\\WINNT\\profiles\\admin\\"},
    };
    for (const Case& c : cases) {
        char path[MAX_PATH] = "unchanged";
        EXPECT_EQ(1, BuildOldShellFolder(path, sizeof path, c.windows, c.user, c.kind));
        EXPECT_STREQ(c.expected, path);
    }
    // A result of 260 bytes or more is refused, not cut.
    const std::string windows(MAX_PATH - sizeof "\\Desktop", 'w');  // 251 + 8 = 259 bytes
    char path[MAX_PATH];
    EXPECT_EQ(1, BuildOldShellFolder(path, sizeof path, windows.c_str(), nullptr, kFolderDesktop));
    EXPECT_EQ(MAX_PATH - 1, strlen(path));
    const std::string longer = windows + "w";
    EXPECT_EQ(0, BuildOldShellFolder(path, sizeof path, longer.c_str(), nullptr, kFolderDesktop));
    EXPECT_EQ(0, BuildOldShellFolder(path, sizeof path, "C:\\WINNT", std::string(250, 'u').c_str(),
                                     kFolderPrograms));
}

// A Windows folder whose Chinese name ends in a byte 0x5C that is half of a
// character (Big5 功, GBK 淺) still gets its backslash. Runs under the
// Chinese locales (the .zh_TW and .zh_CN runs).
TEST(OldShellFolderTest, ChineseWindowsFolderEndingInByte5CGetsItsBackslash) {
    const UINT acp = GetACP();
    if (acp != 950 && acp != 936) GTEST_SKIP() << "the system code page is " << acp;
    const std::string windows = std::string("C:\\") + (acp == 950 ? "\xA6\xA8\xA5\x5C" : "\xC9\xEE\x9C\x5C");
    char path[MAX_PATH];
    ASSERT_EQ(1, BuildOldShellFolder(path, sizeof path, windows.c_str(), nullptr, kFolderDesktop));
    EXPECT_EQ(windows + "\\Desktop", path);
    ASSERT_EQ(1, BuildOldShellFolder(path, sizeof path, windows.c_str(), "admin", kFolderPrograms));
    EXPECT_EQ(windows + "\\profiles\\admin\\start menu\\programs", path);
}

TEST_F(ShortcutTest, OldShellUsesTheWindowsFolder) {
    char path[MAX_PATH];
    g_isNtPlatform = 1;
    ASSERT_EQ(1, GetOldShellFolder(path, kFolderPrograms));
    EXPECT_STRCASEEQ(("C:\\windows\\profiles\\" + UserName() + "\\start menu\\programs").c_str(), path);
    g_isNtPlatform = 0;
    ASSERT_EQ(1, GetOldShellFolder(path, kFolderDesktop));
    EXPECT_STRCASEEQ("C:\\windows\\Desktop", path);

    // With the old-shell flag the Start-menu entry goes there.
    g_isOldShell = 1;
    const std::string programs = "C:\\windows\\start menu\\programs";
    ASSERT_TRUE(CreateDirectoryA("C:\\windows\\start menu", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CreateDirectoryA(programs.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string name = TestFolderName();
    EXPECT_NE(0, CreateStartMenuEntry(name.c_str(), kRows, kFolderPrograms));
    ExpectShortcut(programs + "\\" + name + "\\Notes.lnk", "Notes", "Morvalen.exe");
    EXPECT_TRUE(g_shownMessages.empty());
    RemoveTree("C:\\windows\\start menu");
}

// Windows NT 3.51 as shipped: an old shell with no profile folders under the
// Windows folder, whose shell is Program Manager. Wine's shell answers
// Program Manager's DDE and keeps a group as a folder of its Start menu, so
// the group is read back there.
class ProgramManagerTest : public ShortcutTest {
protected:
    void SetUp() override {
        ShortcutTest::SetUp();
        g_isOldShell = 1;
        g_isNtPlatform = 1;
        ASSERT_FALSE(FileExists("C:\\windows\\profiles"));
        ASSERT_EQ(1, UsesProgramManager());
    }

    // The group folder holds exactly these .lnk names.
    static void ExpectGroupHolds(const std::string& folder, std::vector<std::string> names) {
        std::vector<std::string> found;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
        ASSERT_NE(INVALID_HANDLE_VALUE, search) << folder;
        do {
            if (entry.cFileName[0] != '.') found.push_back(entry.cFileName);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        std::sort(found.begin(), found.end());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, found);
    }

    // Wine's shell opens a folder window on every group it makes, in an
    // explorer process of its own that would outlive the test and keep its
    // output open (the test run then never ends). Closed as a user would
    // close it: the window shows a moment after the DDE answer, if at all.
    static void CloseGroupWindows() {
        for (int waited = 0; waited < 5000; waited += 100) {
            HWND window = FindWindowA("ExplorerWClass", nullptr);
            if (window == nullptr && waited >= 2000) return;
            if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
            Sleep(100);
        }
    }
};

// Commas, parentheses and brackets in the group's and the items' names
// arrive whole; nothing is made under the Windows folder and no desktop
// shortcut anywhere; the uninstaller's DeleteGroup removes the group.
TEST_F(ProgramManagerTest, GroupHoldsOneItemPerRowUnderNamesHeldWhole) {
    const std::string group = TestFolderName() + " (Zelko), [1]";
    const ShortcutRow rows[] = {{"Editor (new), 1", "ZEKEdit.exe"},
                                {"Notes [2]", "Morvalen.exe"},
                                {"Remove", "ZEKEditUnInstall.exe"},
                                {nullptr, nullptr}};
    const std::string folder = ExpectedProgramsFolder() + "\\" + group;
    RemoveTree(folder);
    EXPECT_EQ(1, CreateStartMenuEntry(group.c_str(), rows, kFolderPrograms));
    CreateDesktopShortcut("Morvalen.exe", "Notes [2]");
    EXPECT_TRUE(g_shownMessages.empty());
    ExpectGroupHolds(folder, {"Editor (new), 1.lnk", "Notes [2].lnk", "Remove.lnk"});
    ExpectShortcut(folder + "\\Editor (new), 1.lnk", "Editor (new), 1", "ZEKEdit.exe");
    ExpectShortcut(folder + "\\Notes [2].lnk", "Notes [2]", "Morvalen.exe");
    ExpectShortcut(folder + "\\Remove.lnk", "Remove", "ZEKEditUnInstall.exe");
    EXPECT_FALSE(FileExists("C:\\windows\\profiles"));
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\Notes [2].lnk"));

    EXPECT_EQ(1, DeleteProgramGroup(group.c_str()));
    EXPECT_FALSE(FileExists(folder));
    RemoveTree(folder);
    CloseGroupWindows();
}

// The names go to the shell as bytes in the code page of the system they are
// for: English below 1, GB2312 for 1, Big5 for 2 and above.
TEST(ShortcutNamesTest, ChosenBySystemLanguageAsExactBytes) {
    for (int code : {-1, 0, 1, 2, 3}) {
        SCOPED_TRACE(code);
        const ShortcutNames& names = ShortcutNamesFor(code);
        ExpectedNames expected = NamesForSystemLanguage(code);
        EXPECT_EQ(expected.folder, names.folderName);
        EXPECT_EQ(expected.editor, names.rows[0].displayName);
        EXPECT_STREQ("ZEKEdit.exe", names.rows[0].targetFileName);
        EXPECT_EQ(expected.notes, names.rows[1].displayName);
        EXPECT_STREQ("Morvalen.exe", names.rows[1].targetFileName);
        EXPECT_EQ(expected.uninstaller, names.rows[2].displayName);
        EXPECT_STREQ("ZEKEditUnInstall.exe", names.rows[2].targetFileName);
        EXPECT_EQ(nullptr, names.rows[3].displayName);
        EXPECT_EQ(nullptr, names.rows[3].targetFileName);
    }
}

}  // namespace
