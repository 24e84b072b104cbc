// RunInstall in a program whose payloads lack ChnBmp.bin (110), a file the
// product cannot do without: the check before the run finds it, so the run
// ends at position 10 with nothing written, zerezizu.ini not made and no
// shortcut.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "install/install_run.h"
#include "install_run_fixture.h"

namespace {

TEST_F(InstallRunTest, MissingAbortFileEndsTheRunBeforeAnythingIsWritten) {
    ASSERT_TRUE(PayloadBytes(110).empty()) << "this program must lack payload 110";
    g_wantDesktopIcons = 1;
    g_chineseDisplayOk = 0;
    EXPECT_EQ(0, RunInstall(AnswersFromState()));

    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(std::vector<int>({10}), wizard.positions());
    EXPECT_TRUE(FolderEntries(installFolder_).empty());

    ExpectedNames names = NamesForSystemLanguage(0);
    EXPECT_FALSE(FileExists(ExpectedProgramsFolder() + "\\" + names.folder));
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.editor + ".lnk"));
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.notes + ".lnk"));
}

}  // namespace
