// RunInstall in a program whose payloads lack ChnBmp.bin (110), a file the
// product cannot do without: the run ends right after position 25, leaves
// zerezizu.ini as the payload wrote it and makes no shortcut.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "install/install_run.h"
#include "install_run_fixture.h"

namespace {

TEST_F(InstallRunTest, MissingAbortFileEndsTheRunAfterPosition25) {
    ASSERT_TRUE(PayloadBytes(110).empty()) << "this program must lack payload 110";
    g_wantDesktopIcons = 1;
    g_chineseDisplayOk = 0;
    EXPECT_EQ(0, RunInstall());

    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(std::vector<int>({10, 15, 20, 25}), wizard.positions());

    // Everything before ChnBmp.bin is written, nothing after it.
    bool before = true;
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (expected.identifier == 110) before = false;
        if (before) {
            if (std::string(expected.name) != "zerezizu.ini") ExpectInstalled(expected);
        } else {
            EXPECT_FALSE(FileExists(file(expected.name))) << expected.name;
        }
    }
    EXPECT_EQ(PayloadBytes(120), ReadBytes(file("zerezizu.ini")));

    ExpectedNames names = NamesForSystemLanguage(0);
    EXPECT_FALSE(FileExists(ExpectedProgramsFolder() + "\\" + names.folder));
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.editor + ".lnk"));
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.notes + ".lnk"));
}

}  // namespace
