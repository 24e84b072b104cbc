// Writes that stop short on a full disk (drive SCRIVORA_SMALL_DRIVE, a 1 MiB
// file system made by run_on_small_drive.sh).
// A short write is never success: the result is 0, the file is left cut
// short without read-only or hidden, the install run fails and the user is
// told so. Without its variable a case is skipped: these run only through
// their script.
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

class ShortWriteTest : public InstallPressTest {
protected:
    // The install run into `folder`: result 0 at the first file that does not
    // fit, which is cut short; nothing after it, no configuration update, no
    // shortcut. Returns that file's identifier.
    int ExpectRunFailsAtAShortFile(const std::string& installFolder) {
        UseInstallFolder(installFolder);
        g_wantDesktopIcons = 1;
        // The engine-level run reports to the stand-in, whose progress bar
        // records its positions.
        HWND realWizard = g_wizardWindow;
        g_wizardWindow = wizard.window();
        EXPECT_EQ(0, RunInstall());
        g_wizardWindow = realWizard;
        EXPECT_TRUE(g_shownMessages.empty());
        const std::vector<int>& positions = wizard.positions();
        EXPECT_TRUE(positions.size() < kAllPositions.size() &&
                    std::equal(positions.begin(), positions.end(), kAllPositions.begin()))
            << "the run went on after the failure";
        const int failed = FirstFileNotInstalled();
        if (failed == 0) {
            ADD_FAILURE() << "every file was written";
            return 0;
        }
        const ExpectedFile& cut = ManifestFile(failed);
        ExpectCutShort(file(cut.name), InstalledBytes(cut));
        ExpectStoppedAt(failed);
        ExpectNoShortcuts();
        return failed;
    }
};

// --- A full disk ----------------------------------------------------------------

class SmallDrive : public ShortWriteTest {
protected:
    void SetUp() override {
        const char* drive = getenv("SCRIVORA_SMALL_DRIVE");
        if (drive == nullptr) GTEST_SKIP() << "runs only through run_on_small_drive.sh";
        root = std::string(drive) + "\\";
        ShortWriteTest::SetUp();
    }
    void TearDown() override {
        if (root.empty()) return;
        ShortWriteTest::TearDown();
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
        const Bytes block(4096, 0x5A);
        DWORD written = 0;
        for (int i = 0; i < 4096 && WriteFile(filler, block.data(), 4096, &written, nullptr) && written > 0; ++i) {
        }
        for (DWORD n : {1024u, 256u, 16u, 1u}) {
            while (WriteFile(filler, block.data(), n, &written, nullptr) && written == n) {
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

TEST_F(SmallDrive, InstallRunFails) {
    ExpectRunFailsAtAShortFile(root + "Zelko");
    EXPECT_EQ(std::vector<std::string>({"Zelko"}), FolderEntries(root));
}

TEST_F(SmallDrive, InstallPressShowsTheFailure) {
    PressInstall(root + "Zelko");
    ExpectFailureShown();
    EXPECT_NE(0, FirstFileNotInstalled());
    EXPECT_EQ(std::vector<std::string>({"Zelko"}), FolderEntries(root));
}

}  // namespace
