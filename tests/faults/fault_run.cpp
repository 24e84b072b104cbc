// Checks shared by the fault runs; see fault_run.h.
#include "fault_run.h"

#include <algorithm>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/payload.h"

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

bool operator==(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

void AddEntryStates(const std::string& folder, const std::string& prefix, FolderState* state) {
    for (const std::string& name : FolderEntries(folder)) {
        const std::string path = folder + "\\" + name;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(path.c_str(), &data);
        ASSERT_NE(INVALID_HANDLE_VALUE, find) << path;
        FindClose(find);
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        state->push_back({prefix + name, data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime,
                          data.ftLastWriteTime, isFolder ? Bytes() : ReadBytes(path)});
        if (isFolder) AddEntryStates(path, prefix + name + "\\", state);
    }
}

}  // namespace

FolderState ReadFolderState(const std::string& folder) {
    FolderState state;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder.c_str(), &data);
    EXPECT_NE(INVALID_HANDLE_VALUE, find) << folder;
    if (find == INVALID_HANDLE_VALUE) return state;
    FindClose(find);
    state.push_back({"", data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime, {}});
    AddEntryStates(folder, "", &state);
    return state;
}

void ExpectSameFolderState(const FolderState& expected, const FolderState& actual) {
    std::vector<std::string> expectedNames, actualNames;
    for (const EntryState& entry : expected) expectedNames.push_back(entry.name);
    for (const EntryState& entry : actual) actualNames.push_back(entry.name);
    ASSERT_EQ(expectedNames, actualNames) << "entries added or removed";
    for (size_t i = 0; i < expected.size(); ++i) {
        const EntryState& a = expected[i];
        const EntryState& b = actual[i];
        SCOPED_TRACE(a.name.empty() ? "the install folder" : a.name);
        EXPECT_EQ(a.attributes, b.attributes);
        EXPECT_TRUE(a.created == b.created) << "creation time";
        EXPECT_TRUE(a.written == b.written) << "last write time";
        EXPECT_TRUE(a.accessed == b.accessed) << "last access time";
        EXPECT_TRUE(a.bytes == b.bytes) << "bytes";
    }
}

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

void FaultRunTest::PutInstalledProduct(const Bytes& older) {
    // The wizard, where there is one, has put its own default there.
    ASSERT_TRUE(CopyBounded(g_installFolder, installFolder_.c_str()));
    for (const ExpectedFile& expected : kExpectedFiles) {
        Bytes bytes = std::string(expected.name) == "zerezizu.ini" ? ExpectedConfigFile('0', 1)
                                                                    : InstalledBytes(expected);
        if (bytes.empty()) bytes = older;
        ASSERT_TRUE(WritePayloadFile(expected.name, bytes.data(), static_cast<uint32_t>(bytes.size()),
                                     expected.attributes[0] == 'R', expected.attributes[1] == 'H', nullptr))
            << expected.name;
    }
    ASSERT_TRUE(CreateDirectoryA(file("doc").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(file("flatAuto.dic"), {'l', 'e', 'a', 'r', 'n', 'e', 'd'}));
}
