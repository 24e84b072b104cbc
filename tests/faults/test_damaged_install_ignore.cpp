// The product's payloads with ZiDef.dic (145), a file whose failure the
// install passes over, replaced by a damaged stream: the run completes with
// result 1 and an older ZiDef.dic is left exactly as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "install/install_run.h"
#include "fault_run.h"

namespace {

constexpr int kDamaged = 145;

TEST_F(FaultRunTest, DamagedIgnoreFileIsPassedOver) {
    ASSERT_TRUE(PayloadBytes(kDamaged).empty()) << "payload 145 must be damaged in this program";
    const std::string older = file(ManifestFile(kDamaged).name);
    const Bytes olderBytes = {'o', 'l', 'd', ' ', 'd', 'e', 'f', 's'};
    ASSERT_TRUE(WriteBytes(older, olderBytes));
    ASSERT_TRUE(SetReadOnlyHidden(older));

    EXPECT_EQ(1, RunInstall(AnswersFromState()));

    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(kAllPositions, wizard.positions());
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (expected.identifier == kDamaged || std::string(expected.name) == "zerezizu.ini") continue;
        ExpectInstalled(expected);
    }
    EXPECT_EQ(ExpectedConfigFile('0', 1), ReadBytes(file("zerezizu.ini")));
    EXPECT_EQ(olderBytes, ReadBytes(older));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(older));
    EXPECT_EQ(3u, FolderEntries(ExpectedProgramsFolder() + "\\" + NamesForSystemLanguage(0).folder).size());
    ExpectNothingBesideTheInstallFolder();
}

}  // namespace
