// Checks shared by the fault runs; see fault_run.h.
#include "fault_run.h"

#include <algorithm>

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

const ExpectedFile& ManifestFile(int identifier) {
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (expected.identifier == identifier) return expected;
    }
    static const ExpectedFile none = {0, "", "--"};
    ADD_FAILURE() << "payload " << identifier << " is not in the manifest";
    return none;
}

void FaultRunTest::SetUp() {
    InstallRunTest::SetUp();
    entriesBefore_ = FolderEntries(folder.path());
}

void FaultRunTest::ExpectStoppedAt(int identifier) {
    bool before = true;
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (expected.identifier == identifier) {
            before = false;
        } else if (!before) {
            EXPECT_FALSE(FileExists(file(expected.name))) << expected.name << " written after the failure";
        } else if (std::string(expected.name) == "zerezizu.ini") {
            EXPECT_EQ(PayloadBytes(120), ReadBytes(file(expected.name))) << "configuration updated";
        } else {
            ExpectInstalled(expected);
        }
    }
    EXPECT_FALSE(before) << "payload " << identifier << " is not in the manifest";
}

int FaultRunTest::FirstFileNotInstalled() {
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (std::string(expected.name) == "zerezizu.ini") {
            if (ReadBytes(file(expected.name)) != PayloadBytes(120)) return expected.identifier;
        } else if (ReadBytes(file(expected.name)) != InstalledBytes(expected)) {
            return expected.identifier;
        }
    }
    return 0;
}

void FaultRunTest::ExpectNoShortcuts() {
    for (int code = 0; code <= 2; ++code) {
        ExpectedNames names = NamesForSystemLanguage(code);
        EXPECT_FALSE(FileExists(ExpectedProgramsFolder() + "\\" + names.folder)) << "Start-menu folder";
        EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.editor + ".lnk")) << "desktop shortcut";
        EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.notes + ".lnk")) << "desktop shortcut";
    }
}

void FaultRunTest::ExpectNothingBesideTheInstallFolder(const std::vector<std::string>& added) {
    std::vector<std::string> expected = entriesBefore_;
    expected.insert(expected.end(), added.begin(), added.end());
    EXPECT_EQ(Sorted(expected), Sorted(FolderEntries(folder.path())));
}
