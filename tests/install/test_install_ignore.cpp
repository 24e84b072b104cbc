// RunInstall in a program whose payloads lack ZiDef.dic (145), a file whose
// failure the install passes over: everything else is installed and the run
// succeeds.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "install/install_run.h"
#include "install_run_fixture.h"

namespace {

TEST_F(InstallRunTest, MissingIgnoreFileStillSucceeds) {
    ASSERT_TRUE(PayloadBytes(145).empty()) << "this program must lack payload 145";
    EXPECT_EQ(1, RunInstall(AnswersFromState()));

    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(kAllPositions, wizard.positions());
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (expected.identifier == 145) {
            EXPECT_FALSE(FileExists(file(expected.name)));
        } else if (std::string(expected.name) != "zerezizu.ini") {
            ExpectInstalled(expected);
        }
    }
    ExpectedNames names = NamesForSystemLanguage(0);
    EXPECT_EQ(3u, FolderEntries(ExpectedProgramsFolder() + "\\" + names.folder).size());
}

}  // namespace
