// File-system faults against the file writer and the install run: a target
// file held open by another program, and an install folder on a drive that
// does not exist. Neither may be reported as success, the held file's bytes
// stay as they were, and nothing appears outside the install folder; a held
// file the product cannot do without changes nothing at all.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/install_run.h"
#include "install/payload.h"
#include "fault_run.h"
#include "held_file.h"
#include "install_press.h"

namespace {

const Bytes kOlderBytes = {'i', 'n', ' ', 'u', 's', 'e'};

// Another program holds the file: no one else can open it.
void ExpectHeld(const std::string& path, const HeldFile& hold) {
    ASSERT_TRUE(hold.held()) << "hold_file.exe could not hold " << path;
    FILE* probe = fopen(path.c_str(), "rb");
    if (probe) fclose(probe);
    ASSERT_EQ(nullptr, probe) << "the held file can still be opened: the hold proves nothing";
}

TEST(HeldFile, WriterFailsAndLeavesTheBytes) {
    TempFolder folder;
    ASSERT_TRUE(CopyBounded(g_installFolder, folder.path().c_str()));
    const std::string path = folder / "ZiDef.dic";
    ASSERT_TRUE(WriteBytes(path, kOlderBytes));
    HeldFile hold(path);
    ASSERT_NO_FATAL_FAILURE(ExpectHeld(path, hold));

    std::vector<uint8_t> buffer(kInstallBufferSize);
    const Bytes data = {'n', 'e', 'w'};
    struct { int readOnly, hidden; } flags[] = {{0, 0}, {1, 1}};
    for (const auto& f : flags) {
        SCOPED_TRACE(testing::Message() << "read-only " << f.readOnly << ", hidden " << f.hidden);
        EXPECT_EQ(0, WritePayloadFile("ZiDef.dic", data.data(), 3, f.readOnly, f.hidden, nullptr));
        EXPECT_EQ(0, WritePayloadFile("x", data.data(), 3, f.readOnly, f.hidden, path.c_str()));
        EXPECT_EQ(0, ExtractPayload(145, "ZiDef.dic", buffer.data(), kInstallBufferSize, f.readOnly, f.hidden,
                                    nullptr));
    }
    EXPECT_EQ(0, hold.Release());
    EXPECT_EQ(kOlderBytes, ReadBytes(path));
    EXPECT_EQ(0, ReadOnlyHiddenBits(path));
    g_installFolder[0] = '\0';
}

// Another program holds Morvalen.exe, as the running product does while the
// user reinstalls: the check finds it before anything changes, and the user
// is told that the install failed.
TEST_F(InstallPressTest, HeldProductFileLeavesTheInstalledProductAsItWas) {
    ASSERT_NO_FATAL_FAILURE(PutInstalledProduct());
    ReadFolderState(installFolder_);
    const FolderState before = ReadFolderState(installFolder_);
    const std::string held = file("Morvalen.exe");
    HeldFile hold(held);
    ASSERT_NO_FATAL_FAILURE(ExpectHeld(held, hold));

    PressInstall(installFolder_, IDYES);
    EXPECT_EQ(0, hold.Release());

    ExpectFailureShown({kMsgReplaceOldWordBase});
    ExpectSameFolderState(before, ReadFolderState(installFolder_));
    ExpectNothingBesideTheInstallFolder();
}

// ZiDef.dic (145) is passed over when it cannot be written.
TEST_F(FaultRunTest, HeldIgnoreFileIsPassedOver) {
    const std::string held = file("ZiDef.dic");
    ASSERT_TRUE(WriteBytes(held, kOlderBytes));
    HeldFile hold(held);
    ASSERT_NO_FATAL_FAILURE(ExpectHeld(held, hold));

    EXPECT_EQ(1, RunInstall(AnswersFromState()));
    EXPECT_EQ(0, hold.Release());

    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(kAllPositions, wizard.positions());
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (expected.identifier == 145 || std::string(expected.name) == "zerezizu.ini") continue;
        ExpectInstalled(expected);
    }
    EXPECT_EQ(ExpectedConfigFile('0', 1), ReadBytes(file("zerezizu.ini")));
    EXPECT_EQ(kOlderBytes, ReadBytes(held));
    EXPECT_EQ(3u, FolderEntries(ExpectedProgramsFolder() + "\\" + NamesForSystemLanguage(0).folder).size());
    ExpectNothingBesideTheInstallFolder();
}

// A drive letter the prefix does not map.
std::string MissingDrive() {
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (!(drives & (1u << (letter - 'A'))) && GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return std::string(1, letter) + ":";
        }
    }
    return "";
}

// Folder creation on a missing drive is refused before the install runs (the
// wizard then stays on its last page); this is the engine's own answer when
// the folder is on such a drive anyway.
TEST_F(FaultRunTest, InstallFolderOnAMissingDrive) {
    const std::string drive = MissingDrive();
    ASSERT_FALSE(drive.empty()) << "every drive letter is taken";
    const Bytes data = {'d', 'a', 't', 'a'};
    EXPECT_EQ(0, WritePayloadFile("x.bin", data.data(), 4, 0, 0, (drive + "\\x.bin").c_str()));

    UseInstallFolder(drive + "\\Zelko");
    EXPECT_EQ(0, WritePayloadFile("x.bin", data.data(), 4, 1, 1, nullptr));
    std::vector<uint8_t> buffer(kInstallBufferSize);
    EXPECT_EQ(0, ExtractPayload(106, "pykeys.dic", buffer.data(), kInstallBufferSize, 1, 1, nullptr));
    g_wantDesktopIcons = 1;
    EXPECT_EQ(0, RunInstall(AnswersFromState()));
    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(std::vector<int>({10}), wizard.positions());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((drive + "\\").c_str()));
    ExpectNoShortcuts();
    ExpectNothingBesideTheInstallFolder();
}

}  // namespace
