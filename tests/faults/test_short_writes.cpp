// Writes that stop short on a full disk (drive SCRIVORA_SMALL_DRIVE, a small
// file system made by run_on_small_drive.sh), and the check that keeps the
// install run from starting on a volume without room for the product.
// A short write is never success: the result is 0 and the file is left cut
// short without read-only or hidden. An install that does not fit is refused
// before it changes anything, and the user is told why. Without its variable
// a case is skipped: these run only through their script.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/install_run.h"
#include "install/payload.h"
#include "install_press.h"

namespace {

Bytes Pattern(size_t length) {
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i * 13 + (i >> 9));
    return bytes;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A write that fails leaves the bytes that did reach the disk: a start of
// the data, nothing else, and no read-only or hidden bit.
void ExpectCutShort(const std::string& path, const Bytes& data) {
    ASSERT_TRUE(FileExists(path)) << path;
    const Bytes written = ReadBytes(path);
    EXPECT_LT(written.size(), data.size());
    EXPECT_TRUE(std::equal(written.begin(), written.end(), data.begin())) << "not a start of the data";
    EXPECT_EQ(0, ReadOnlyHiddenBits(path));
}

// --- A full disk ----------------------------------------------------------------

// The largest drive run_on_small_drive.sh makes for these cases.
constexpr unsigned long long kMostDriveBytes = 64ull << 20;

class SmallDrive : public InstallPressTest {
protected:
    void SetUp() override {
        const char* drive = getenv("SCRIVORA_SMALL_DRIVE");
        if (drive == nullptr) GTEST_SKIP() << "runs only through run_on_small_drive.sh";
        root = std::string(drive) + "\\";
        // Filling a drive that is not the small one would fill the machine's.
        ULARGE_INTEGER free = {}, total = {}, totalFree = {};
        ASSERT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &free, &total, &totalFree));
        ASSERT_LE(total.QuadPart, kMostDriveBytes) << root << " is not the small drive";
        InstallPressTest::SetUp();
    }
    void TearDown() override {
        if (root.empty()) return;
        InstallPressTest::TearDown();
        RemoveTree(root + "Zelko");
        RemoveTree(root + "filler");
        RemoveTree(root + "data.bin");
    }

    unsigned long long FreeBytes() {
        ULARGE_INTEGER free = {}, total = {}, totalFree = {};
        EXPECT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &free, &total, &totalFree));
        return free.QuadPart;
    }
    // Fills the drive with one file until nothing more fits.
    void FillDrive() {
        HANDLE filler = CreateFileA((root + "filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, filler);
        const Bytes block(1 << 20, 0x5A);
        DWORD written = 0;
        unsigned long long total = 0;
        for (DWORD n : {1u << 20, 65536u, 4096u, 1024u, 256u, 16u, 1u}) {
            while (total < kMostDriveBytes && WriteFile(filler, block.data(), n, &written, nullptr) &&
                   written == n) {
                total += n;
            }
        }
        CloseHandle(filler);
    }

    std::string root;
};

TEST_F(SmallDrive, PayloadBiggerThanTheRoomLeftFails) {
    ASSERT_TRUE(CopyBounded(g_installFolder, root.substr(0, 2).c_str()));
    const unsigned long long room = FreeBytes();
    ASSERT_GT(room, 0u);
    ASSERT_LT(room, 4u * 1024 * 1024) << "not the small drive";
    const Bytes data = Pattern(static_cast<size_t>(room) * 2);
    EXPECT_EQ(0, WritePayloadFile("data.bin", data.data(), static_cast<uint32_t>(data.size()), 1, 1, nullptr));
    ExpectCutShort(root + "data.bin", data);
    EXPECT_EQ(std::vector<std::string>({"data.bin"}), FolderEntries(root));
}

// On a full disk even a write that the stream only buffers fails, when the
// buffer is flushed at close; a larger one fails in the write itself.
TEST_F(SmallDrive, WritesToAFullDiskFail) {
    ASSERT_TRUE(CopyBounded(g_installFolder, root.substr(0, 2).c_str()));
    FillDrive();
    for (size_t length : {100u, 65536u}) {
        SCOPED_TRACE(testing::Message() << length << " bytes");
        const Bytes data = Pattern(length);
        EXPECT_EQ(0, WritePayloadFile("data.bin", data.data(), static_cast<uint32_t>(length), 1, 1, nullptr));
        ExpectCutShort(root + "data.bin", data);
        RemoveTree(root + "data.bin");
    }
}

// A fresh install on a volume far too small: the run ends at position 10
// with the volume's message and nothing written.
TEST_F(SmallDrive, InstallRunRefusesAVolumeTooSmall) {
    UseInstallFolder(root + "Zelko");
    g_wantDesktopIcons = 1;
    // The engine-level run reports to the stand-in, whose progress bar
    // records its positions.
    HWND realWizard = g_wizardWindow;
    g_wizardWindow = wizard.window();
    EXPECT_EQ(0, RunInstall(AnswersFromState()));
    g_wizardWindow = realWizard;
    ASSERT_EQ(1u, g_shownMessages.size());
    EXPECT_EQ(ExpectedMessage(kMsgInstallVolumeTooSmall, wizard.window()), g_shownMessages[0]);
    EXPECT_EQ(std::vector<int>({10}), wizard.positions());
    EXPECT_TRUE(FolderEntries(root + "Zelko").empty());
    ExpectNoShortcuts();
}

// The press made the folder, and takes it away again with its "doc" folder.
TEST_F(SmallDrive, InstallPressShowsTheFailure) {
    PressInstall(root + "Zelko");
    ExpectFailureShown({kMsgInstallVolumeTooSmall});
    EXPECT_TRUE(FolderEntries(root).empty());
}

// --- A full volume under an installed product -------------------------------------
// The drive holds an older product, whose Morvalen.exe is smaller than the
// new one by more than the user's learned dictionary frees, and is full: the
// reinstall is refused before anything changes.
using FullVolume = SmallDrive;

TEST_F(FullVolume, LargerProductLeavesTheOlderOneAsItWas) {
    UseInstallFolder(root + "Zelko");
    ASSERT_NO_FATAL_FAILURE(PutInstalledProduct());
    const Bytes older = {'o', 'l', 'd'};
    ASSERT_TRUE(WritePayloadFile("Morvalen.exe", older.data(), 3, 1, 0, nullptr));
    FillDrive();
    ASSERT_LT(FreeBytes(), 4096u);
    ReadFolderState(installFolder_);
    const FolderState before = ReadFolderState(installFolder_);

    PressInstall(installFolder_, IDYES);

    ExpectFailureShown({kMsgReplaceOldWordBase, kMsgInstallVolumeTooSmall});
    ExpectSameFolderState(before, ReadFolderState(installFolder_));
}

}  // namespace
