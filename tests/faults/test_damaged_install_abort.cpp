// The product's payloads with Morvalen.exe (109), the last file the install
// cannot do without, replaced by a damaged stream. The check before the run
// finds it: the Install press tells the user that the install failed and has
// changed nothing, neither an installed product with the user's learned
// dictionary nor, for a fresh install, the folder it made.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "fault_run.h"
#include "install_press.h"

namespace {

constexpr int kDamaged = 109;

TEST_F(InstallPressTest, DamagedLastAbortFileLeavesTheInstalledProductAsItWas) {
    ASSERT_TRUE(PayloadBytes(kDamaged).empty()) << "payload 109 must be damaged in this program";
    ASSERT_NO_FATAL_FAILURE(PutInstalledProduct());
    ReadFolderState(installFolder_);
    const FolderState before = ReadFolderState(installFolder_);

    // Yes to the word-base question: the new word base is checked as well.
    PressInstall(installFolder_, IDYES);

    ExpectFailureShown({kMsgReplaceOldWordBase});
    ExpectSameFolderState(before, ReadFolderState(installFolder_));
    ExpectNothingBesideTheInstallFolder();
}

// The folder the press made goes again, with its "doc" folder.
TEST_F(InstallPressTest, DamagedAbortFileLeavesNoFreshFolder) {
    PressInstall(folder / "Fresh");
    ExpectFailureShown();
    EXPECT_FALSE(FileExists(folder / "Fresh"));
    ExpectNothingBesideTheInstallFolder();
}

}  // namespace
