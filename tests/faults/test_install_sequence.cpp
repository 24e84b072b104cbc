// The Install press on the real wizard with the whole product: the folder
// step before the install run. A folder too long for the product's file names
// is refused before anything is made; a Chinese folder name whose last byte is
// 0x5C (the second half of a character) gets its "doc" folder inside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "install/install_run.h"
#include "install/shortcut_names.h"
#include "install_press.h"
#include "resources/resource_ids.h"
#include "wizard/pages.h"
#include "wizard/wizard_fixture.h"

namespace {

using InstallSequenceTest = InstallPressTest;

// The longest install folder the product's longest file name leaves room for
// within MAX_PATH ("mi_bihua1_dups_prefered_codes.bin", 33 bytes, and its
// backslash).
constexpr size_t kLongestInstallFolder = MAX_PATH - 1 - 1 - 33;

// One byte more than the install run takes: the Install press says the folder
// cannot be made (message row 4), stays on the last page with its buttons,
// and has made nothing, not the folder, not its "doc" folder.
TEST_F(InstallSequenceTest, FolderTooLongForTheProductIsRefusedBeforeAnythingIsMade) {
    std::string tooLong = folder.path() + "\\";
    tooLong += std::string(kLongestInstallFolder + 1 - tooLong.size(), 'z');
    ASSERT_EQ(kLongestInstallFolder + 1, tooLong.size());

    DWORD start = GetTickCount();
    PressInstall(tooLong);

    ASSERT_EQ(1u, g_shownMessages.size());
    EXPECT_EQ(ExpectedMessage(kMsgCannotCreateInstallFolder, dialog), g_shownMessages[0]);
    EXPECT_EQ(kPageLanguage, g_wizardPage);
    for (int id : {IDC_NEXT, IDC_BACK, IDC_CANCEL}) EXPECT_TRUE(IsShown(dialog, id)) << id;
    EXPECT_LT(GetTickCount() - start, 4000u) << "refused only after the five-second wait";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(tooLong.c_str()));
    ExpectNothingBesideTheInstallFolder();
    ExpectNoShortcuts();
}

// A whole install into a new folder whose name ends in Big5 功 (A5 5C) or GBK
// 淺 (9C 5C), on a Traditional or Simplified Chinese system (the .zh_TW and
// .zh_CN runs of this program): every file and the empty "doc" folder land in
// it, nothing beside it, and the shortcuts start in it.
TEST_F(InstallSequenceTest, ChineseFolderEndingInByte5CGetsEverythingInside) {
    const UINT acp = GetACP();
    if (acp != 950 && acp != 936) GTEST_SKIP() << "the system code page is " << acp;
    const std::string name = acp == 950 ? "\xA6\xA8\xA5\x5C" : "\xC9\xEE\x9C\x5C";  // 成功, 深淺

    // As PressInstall, but the speech-module offer is declined: nothing is
    // handed to the shell.
    installFolder_ = folder / name;
    ASSERT_TRUE(SetDlgItemTextA(dialog, IDC_FOLDER_PATH, installFolder_.c_str()));
    g_wizardPage = kPageLanguage;
    ShowPage(dialog, kPageLanguage);
    ResetMessages(IDCANCEL);
    Command(dialog, IDC_NEXT);

    ASSERT_EQ(2u, g_shownMessages.size());
    EXPECT_EQ(ExpectedMessage(kMsgInstallSucceeded, dialog), g_shownMessages[0]);
    EXPECT_EQ(kPageEnd, g_wizardPage);
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (std::string(expected.name) != "zerezizu.ini") ExpectInstalled(expected);
    }
    const std::string doc = file("doc");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(doc.c_str()));
    EXPECT_TRUE(FolderEntries(doc).empty());
    ExpectNothingBesideTheInstallFolder({name});

    const ShortcutNames& names = ShortcutNamesFor(g_systemLanguage);
    const std::string startMenu = ExpectedProgramsFolder() + "\\" + names.folderName;
    for (int row = 0; row < 3; ++row) {
        ShortcutFields fields = ReadShortcut(startMenu + "\\" + names.rows[row].displayName + ".lnk");
        ASSERT_TRUE(fields.loaded) << row;
        EXPECT_STRCASEEQ(installFolder_.c_str(), fields.workingDirectory.c_str()) << row;
        EXPECT_STRCASEEQ(file(names.rows[row].targetFileName).c_str(), fields.target.c_str()) << row;
    }
    RemoveProductShortcuts();
}

}  // namespace
