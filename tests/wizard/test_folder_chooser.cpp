// Browse on the wizard's first page: the real old-style common dialog with
// template 168 and the chooser's hook, answered from this thread while it is
// open. The chooser opens on the process's current directory and follows the
// directory list; OK returns the folder open at that moment.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <string>

#include "app/bounded.h"
#include "app/globals.h"
#include "glyph/glyph.h"
#include "resources/resource_ids.h"
#include "support/temp_folder.h"
#include "wizard/modal_answerer.h"
#include "wizard/wizard_fixture.h"

namespace {

std::string CurrentDirectory() {
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    return std::string(folder, length);
}

// Sets the current directory for one test and puts the old one back.
class CurrentDirectoryGuard {
public:
    explicit CurrentDirectoryGuard(const std::string& folder) : previous_(CurrentDirectory()) {
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentDirectoryGuard() { SetCurrentDirectoryA(previous_.c_str()); }

private:
    std::string previous_;
};

class FolderChooserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadGlyphFont(), kGlyphFontLoaded); }
    static void TearDownTestSuite() { ReleaseGlyphFont(); }
    void SetUp() override {
        wizard = CreateWizardForTest();
        ASSERT_NE(wizard, nullptr);
        SetDlgItemTextA(wizard, IDC_FOLDER_PATH, "D:\\Typed");
    }
    void TearDown() override { DestroyWizardForTest(); }

    // Presses Browse; `action` runs once the chooser is open.
    void Browse(ModalAnswerer::Action action) {
        ModalAnswerer answerer(std::move(action));
        Command(wizard, IDC_BROWSE);
        EXPECT_EQ(answerer.answered(), 1);
    }

    std::string PathField() { return WindowText(GetDlgItem(wizard, IDC_FOLDER_PATH)); }

    HWND wizard = nullptr;
};

void PressOk(HWND chooser) {
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(FolderChooserTest, OkTakesTheFolderItOpenedOn) {
    TempFolder folder;
    CurrentDirectoryGuard inFolder(folder.path());
    LONG cancelStyle = 0;
    HWND focus = nullptr;
    HWND directoryList = nullptr;
    Browse([&](HWND chooser) {
        cancelStyle = GetWindowLongA(GetDlgItem(chooser, IDCANCEL), GWL_STYLE);
        focus = GetFocus();
        directoryList = GetDlgItem(chooser, lst2);
        PressOk(chooser);
    });
    EXPECT_EQ(cancelStyle & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(focus, directoryList);
    EXPECT_EQ(PathField(), folder.path());
    EXPECT_STREQ(g_installFolder, folder.path().c_str());
    EXPECT_EQ(CurrentDirectory(), folder.path());
}

TEST_F(FolderChooserTest, OkOnADriveRootGivesTheDriveWithoutBackslash) {
    CurrentDirectoryGuard inRoot("C:\\");
    Browse(PressOk);
    EXPECT_EQ(PathField(), "C:");
    EXPECT_STREQ(g_installFolder, "C:");
}

// Opens a subfolder in the chooser's directory list, as a double click does.
void OpenSubfolder(HWND chooser, const char* name) {
    HWND list = GetDlgItem(chooser, lst2);
    std::string entry = std::string("[") + name + "]";
    LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(entry.c_str()));
    ASSERT_GE(index, 0) << entry;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(lst2, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

// Opening a subfolder in the directory list makes it the folder OK returns;
// the process's current directory is back where it was afterwards.
TEST_F(FolderChooserTest, OkTakesTheFolderOpenedInTheList) {
    TempFolder folder;
    CreateDirectoryA((folder / "Chosen").c_str(), nullptr);
    CurrentDirectoryGuard inFolder(folder.path());
    Browse([](HWND chooser) {
        OpenSubfolder(chooser, "Chosen");
        PressOk(chooser);
    });
    EXPECT_STRCASEEQ(PathField().c_str(), (folder / "Chosen").c_str());
    EXPECT_EQ(CurrentDirectory(), folder.path());
}

// On a Chinese system a folder name may end in a byte 0x5C that is the second
// half of a character (Big5 功 is A5 5C, GBK 淺 is 9C 5C): OK keeps it whole.
// Runs under the Chinese locales (the .zh_TW and .zh_CN runs).
TEST_F(FolderChooserTest, ChineseFolderEndingInByte5CIsKeptWhole) {
    const UINT acp = GetACP();
    if (acp != 950 && acp != 936) GTEST_SKIP() << "the system code page is " << acp;
    const char* name = acp == 950 ? "\xA6\xA8\xA5\x5C" : "\xC9\xEE\x9C\x5C";  // 成功, 深淺
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryA((folder / name).c_str(), nullptr));
    CurrentDirectoryGuard inFolder(folder.path());
    Browse([name](HWND chooser) {
        OpenSubfolder(chooser, name);
        PressOk(chooser);
    });
    EXPECT_STRCASEEQ(PathField().c_str(), (folder / name).c_str());
    EXPECT_STRCASEEQ(g_installFolder, (folder / name).c_str());
}

TEST_F(FolderChooserTest, CancelLeavesThePathFieldAndTheCurrentDirectoryAlone) {
    TempFolder folder;
    CreateDirectoryA((folder / "Opened").c_str(), nullptr);
    CurrentDirectoryGuard inFolder(folder.path());
    CopyBounded(g_installFolder, "unchanged");
    Browse([](HWND chooser) {
        OpenSubfolder(chooser, "Opened");
        PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_EQ(PathField(), "D:\\Typed");
    EXPECT_STREQ(g_installFolder, "unchanged");
    EXPECT_EQ(CurrentDirectory(), folder.path());
}

}  // namespace
