// The product's payloads with ChnBmp.bin (110), a file the install cannot do
// without, replaced by a damaged stream: the run stops there with result 0,
// an older ChnBmp.bin is left as it was, and the Install press tells the user
// that the install failed.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "install/install_run.h"
#include "fault_run.h"
#include "install_press.h"

namespace {

constexpr int kDamaged = 110;

TEST_F(FaultRunTest, DamagedAbortFileEndsTheRunAndSparesTheOlderFile) {
    ASSERT_TRUE(PayloadBytes(kDamaged).empty()) << "payload 110 must be damaged in this program";
    const std::string older = file(ManifestFile(kDamaged).name);
    const Bytes olderBytes = {'o', 'l', 'd', ' ', 'f', 'o', 'n', 't'};
    ASSERT_TRUE(WriteBytes(older, olderBytes));
    ASSERT_TRUE(SetReadOnlyHidden(older));
    g_wantDesktopIcons = 1;

    EXPECT_EQ(0, RunInstall());

    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(std::vector<int>({10, 15, 20, 25}), wizard.positions());
    ExpectStoppedAt(kDamaged);
    EXPECT_EQ(olderBytes, ReadBytes(older));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(older));
    ExpectNoShortcuts();
    ExpectNothingBesideTheInstallFolder();
}

TEST_F(InstallPressTest, DamagedAbortFileShowsTheFailure) {
    PressInstall(folder / "Fresh");
    ExpectFailureShown();
    ExpectStoppedAt(kDamaged);
    EXPECT_FALSE(FileExists(file(ManifestFile(kDamaged).name)));
    ExpectNothingBesideTheInstallFolder({"Fresh"});
}

}  // namespace
