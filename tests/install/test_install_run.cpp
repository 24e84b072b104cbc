// RunInstall with the product's real payloads, into fresh and used folders
// under Wine. Messages go to the recording ShowMessage; the progress bar's
// positions are recorded from a real progress bar.
#include <windows.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/globals.h"
#include "install/install_run.h"
#include "install_run_fixture.h"

namespace {

void ExpectShortcut(const std::string& link, const std::string& description, const std::string& target,
                    const std::string& folder) {
    SCOPED_TRACE(link);
    ShortcutFields fields = ReadShortcut(link);
    ASSERT_TRUE(fields.loaded);
    EXPECT_STRCASEEQ(target.c_str(), fields.target.c_str());
    EXPECT_EQ(description, fields.description);
    EXPECT_STRCASEEQ(target.c_str(), fields.iconPath.c_str());
    EXPECT_EQ(0, fields.iconIndex);
    EXPECT_STRCASEEQ(folder.c_str(), fields.workingDirectory.c_str());
}

TEST_F(InstallRunTest, FreshFolderGetsTheWholeProduct) {
    g_wantDesktopIcons = 1;
    g_chineseDisplayOk = 0;
    g_uiLanguage = 2;
    EXPECT_EQ(1, RunInstall(AnswersFromState()));

    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(kAllPositions, wizard.positions());
    EXPECT_TRUE(GetWindowLongA(wizard.bar(), GWL_STYLE) & WS_VISIBLE);

    ASSERT_EQ(95u, kExpectedFiles.size());
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (std::string(expected.name) == "zerezizu.ini") continue;
        ExpectInstalled(expected);
    }
    EXPECT_EQ(ExpectedConfigFile('1', 2), ReadBytes(file("zerezizu.ini")));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(file("zerezizu.ini")));
    EXPECT_EQ(95u, FolderEntries(installFolder_).size());

    ExpectedNames names = NamesForSystemLanguage(0);
    const std::string menu = ExpectedProgramsFolder() + "\\" + names.folder;
    EXPECT_EQ(3u, FolderEntries(menu).size());
    ExpectShortcut(menu + "\\" + names.editor + ".lnk", names.editor, file("ZEKEdit.exe"), installFolder_);
    ExpectShortcut(menu + "\\" + names.notes + ".lnk", names.notes, file("Morvalen.exe"), installFolder_);
    ExpectShortcut(menu + "\\" + names.uninstaller + ".lnk", names.uninstaller,
                   file("ZEKEditUnInstall.exe"), installFolder_);
    const std::string desktop = ExpectedDesktopFolder();
    ExpectShortcut(desktop + "\\" + names.notes + ".lnk", names.notes, file("Morvalen.exe"), installFolder_);
    ExpectShortcut(desktop + "\\" + names.editor + ".lnk", names.editor, file("ZEKEdit.exe"), installFolder_);
}

// The build's records of the payloads, which the program finds the streams
// by and the check before the run adds up instead of inflating: read here on
// their own, the streams lie one after the other in the store in the
// records' order and fill it exactly; for every file of the product, the
// record's Adler-32 is that of its stream and the installed size is that of
// the bytes the file must hold (the word base in weighted form, by this
// test's own reference).
const uint8_t* DataResource(const char* name, DWORD* size) {
    HRSRC resource = FindResourceA(nullptr, name, RT_RCDATA);
    *size = resource ? SizeofResource(nullptr, resource) : 0;
    return resource ? static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, resource))) : nullptr;
}

TEST(PayloadRecords, AreWhatTheRunWrites) {
    DWORD size, storeSize;
    const uint8_t* rows = DataResource("PAYLOADRECORDS", &size);
    const uint8_t* store = DataResource("PAYLOADS", &storeSize);
    ASSERT_NE(nullptr, rows);
    ASSERT_NE(nullptr, store);
    ASSERT_EQ(0u, size % 16);
    auto word = [](const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; };
    std::vector<uint32_t> offsets;
    uint32_t offset = 0;
    for (const uint8_t* row = rows; row < rows + size; row += 16) {
        offsets.push_back(offset);
        offset += word(row + 4);
    }
    ASSERT_EQ(storeSize, offset) << "the records' streams do not fill the store exactly";
    for (const ExpectedFile& expected : kExpectedFiles) {
        SCOPED_TRACE(expected.name);
        const uint8_t* row = rows;
        while (row < rows + size && (row[0] | row[1] << 8) != expected.identifier) row += 16;
        ASSERT_LT(row, rows + size) << "no record";
        const uint8_t* stored = store + offsets[(row - rows) / 16];
        EXPECT_EQ(word(row + 8), adler32(adler32(0, nullptr, 0), stored, word(row + 4)));
        EXPECT_EQ(InstalledBytes(expected).size(), word(row + 12));
    }
}

FILETIME LastWriteTime(const std::string& path) {
    WIN32_FIND_DATAA data = {};
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return data.ftLastWriteTime;
}

// Also run as an unprivileged user: the first run leaves read-only files that
// the second must replace, and the check before it must be able to open.
// The second run, over the first with a learned dictionary of the user's,
// still deletes that dictionary and writes every file anew.
TEST_F(InstallRunTest, SecondRunOverTheFirst) {
    ASSERT_EQ(1, RunInstall(AnswersFromState()));
    ASSERT_TRUE(g_shownMessages.empty());
    ASSERT_TRUE(WriteBytes(file("flatAuto.dic"), {'l', 'e', 'a', 'r', 'n', 'e', 'd'}));
    std::vector<FILETIME> firstWritten;
    for (const ExpectedFile& expected : kExpectedFiles) firstWritten.push_back(LastWriteTime(file(expected.name)));

    // The first run left a weighted word base beside CiZuFlat.igb: the
    // question comes, and Yes replaces it.
    wizard.ClearPositions();
    ResetMessages(IDYES);
    g_chineseDisplayOk = 1;
    g_uiLanguage = 0;
    EXPECT_EQ(1, RunInstall(AnswersFromState()));
    ASSERT_EQ(1u, g_shownMessages.size());
    EXPECT_EQ(ExpectedMessage(kMsgReplaceOldWordBase, wizard.window()), g_shownMessages[0]);
    EXPECT_EQ(kAllPositions, wizard.positions());
    for (size_t i = 0; i < kExpectedFiles.size(); ++i) {
        const ExpectedFile& expected = kExpectedFiles[i];
        if (std::string(expected.name) != "zerezizu.ini") ExpectInstalled(expected);
        const FILETIME written = LastWriteTime(file(expected.name));
        EXPECT_TRUE(written.dwLowDateTime != firstWritten[i].dwLowDateTime ||
                    written.dwHighDateTime != firstWritten[i].dwHighDateTime)
            << expected.name << " not written again";
    }
    EXPECT_EQ(ExpectedConfigFile('0', 0), ReadBytes(file("zerezizu.ini")));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(file("zerezizu.ini")));
    EXPECT_FALSE(FileExists(file("flatAuto.dic")));
}

// A run that stopped where no check could have seen it coming (power lost
// while the word base was being written): the word base is cut short,
// nothing after it exists, zerezizu.ini is as its payload wrote it and there
// is no shortcut. Setup started again simply installs again; the cut word
// base looks like an older one, and Yes replaces it.
TEST_F(InstallRunTest, SecondRunAfterAnInterruptedOne) {
    ASSERT_EQ(1, RunInstall(AnswersFromState()));
    bool after = false;
    for (const ExpectedFile& expected : kExpectedFiles) {
        const std::string path = file(expected.name);
        if (after) {
            RemoveTree(path);
        } else if (std::string(expected.name) == "pycizudic.idx") {
            Bytes cut = ReadBytes(path);
            cut.resize(cut.size() / 2);
            ASSERT_TRUE(WriteBytes(path, cut));
            after = true;
        }
    }
    ASSERT_TRUE(SetFileAttributesA(file("zerezizu.ini").c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(WriteBytes(file("zerezizu.ini"), PayloadBytes(120)));
    ASSERT_TRUE(SetReadOnlyHidden(file("zerezizu.ini")));
    RemoveProductShortcuts();

    wizard.ClearPositions();
    ResetMessages(IDYES);
    EXPECT_EQ(1, RunInstall(AnswersFromState()));
    ASSERT_EQ(1u, g_shownMessages.size());
    EXPECT_EQ(ExpectedMessage(kMsgReplaceOldWordBase, wizard.window()), g_shownMessages[0]);
    EXPECT_EQ(kAllPositions, wizard.positions());
    for (const ExpectedFile& expected : kExpectedFiles) {
        if (std::string(expected.name) != "zerezizu.ini") ExpectInstalled(expected);
    }
    EXPECT_EQ(ExpectedConfigFile('0', 1), ReadBytes(file("zerezizu.ini")));
    EXPECT_EQ(3u, FolderEntries(ExpectedProgramsFolder() + "\\" + NamesForSystemLanguage(0).folder).size());
}

// An older word base: CiZuFlat.igb beside a weighted pycizudic.idx. Only Yes
// replaces it; No, and closing the box any other way, keep all four files.
TEST_F(InstallRunTest, OlderWordBaseIsKeptUnlessTheAnswerIsYes) {
    struct Case {
        int answer;
        bool replaced;
    } cases[] = {{IDYES, true}, {IDNO, false}, {IDCANCEL, false}, {-1, false}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        UseInstallFolder(folder / ("case" + std::to_string(++n)));
        const Bytes oldFlat = {'o', 'l', 'd'}, oldWeighted = {0x80, 'a', 0xB0, 0xA1, 0xA2, 0x19};
        const Bytes oldPx = {'p', 'x'}, oldPy2 = {'p', 'y', '2'};
        ASSERT_TRUE(WriteBytes(file("CiZuFlat.igb"), oldFlat));
        ASSERT_TRUE(WriteBytes(file("pycizudic.idx"), oldWeighted));
        ASSERT_TRUE(WriteBytes(file("pxcizudic.idx"), oldPx));
        ASSERT_TRUE(WriteBytes(file("py2_3ZiCi1stZuMu.idx"), oldPy2));
        ResetMessages(c.answer);

        EXPECT_EQ(1, RunInstall(AnswersFromState()));
        ASSERT_EQ(1u, g_shownMessages.size());
        EXPECT_EQ(ExpectedMessage(kMsgReplaceOldWordBase, wizard.window()), g_shownMessages[0]);
        for (const ExpectedFile& expected : kExpectedFiles) {
            if (std::string(expected.name) == "zerezizu.ini") continue;
            if (IsWordBaseFile(expected.name) && !c.replaced) continue;
            ExpectInstalled(expected);
        }
        if (!c.replaced) {
            EXPECT_EQ(oldFlat, ReadBytes(file("CiZuFlat.igb")));
            EXPECT_EQ(oldWeighted, ReadBytes(file("pycizudic.idx")));
            EXPECT_EQ(oldPx, ReadBytes(file("pxcizudic.idx")));
            EXPECT_EQ(oldPy2, ReadBytes(file("py2_3ZiCi1stZuMu.idx")));
        }
        // Positions 45 and 65 come even when their files were skipped.
        EXPECT_EQ(kAllPositions, wizard.positions());
        wizard.ClearPositions();
    }
}

TEST_F(InstallRunTest, NoQuestionWithoutAWeightedWordBaseBesideCiZuFlat) {
    struct Case {
        const char* what;
        bool flatPresent;
        bool wordBasePresent;
        Bytes wordBase;
    } cases[] = {
        {"source form", true, true, {0x7F, 'a', 0xB0, 0xA1, 0xA2, 0}},
        {"empty word base", true, true, {}},
        {"no word base", true, false, {}},
        {"weighted word base without CiZuFlat.igb", false, true, {0x80, 'a'}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseInstallFolder(folder / ("case" + std::to_string(++n)));
        if (c.flatPresent) {
            ASSERT_TRUE(WriteBytes(file("CiZuFlat.igb"), {'o', 'l', 'd'}));
        }
        if (c.wordBasePresent) {
            ASSERT_TRUE(WriteBytes(file("pycizudic.idx"), c.wordBase));
        }
        ResetMessages(IDNO);

        EXPECT_EQ(1, RunInstall(AnswersFromState()));
        EXPECT_TRUE(g_shownMessages.empty());
        for (const ExpectedFile& expected : kExpectedFiles) {
            if (IsWordBaseFile(expected.name)) ExpectInstalled(expected);
        }
    }
}

// Also run as an unprivileged user, where a read-only file cannot be deleted
// before its attribute is cleared.
TEST_F(InstallRunTest, LearnedDictionariesOfAnEarlierInstallAreDeleted) {
    const char* deleted[] = {"pykeys.dic0101", "gbkflat.dic1111", "flatAdjust.dic", "flatAuto.dic0001",
                             "Gbkflat.dic0010", "flatAdjust.dic1000"};
    const char* kept[] = {"pykeys.dic2", "pykeys.dic00001", "flatAuto.dic01", "pykeys.dic0002"};
    for (const char* name : deleted) {
        ASSERT_TRUE(WriteBytes(file(name), {'l'}));
        ASSERT_TRUE(SetReadOnlyHidden(file(name)));
    }
    for (const char* name : kept) {
        ASSERT_TRUE(WriteBytes(file(name), {'k'}));
        ASSERT_TRUE(SetReadOnlyHidden(file(name)));
    }

    EXPECT_EQ(1, RunInstall(AnswersFromState()));
    for (const char* name : deleted) {
        EXPECT_FALSE(FileExists(file(name))) << name;
    }
    for (const char* name : kept) {
        EXPECT_EQ(Bytes({'k'}), ReadBytes(file(name))) << name;
        EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, ReadOnlyHiddenBits(file(name))) << name;
    }
    // The two learned-dictionary names that are also product files are back.
    ExpectInstalled(kExpectedFiles[0]);
    ExpectInstalled(kExpectedFiles[1]);
}

TEST_F(InstallRunTest, SystemLanguageTwoNamesTheStartMenuInBig5) {
    g_systemLanguage = 2;
    g_uiLanguage = 1;   // the user's language choice plays no part
    EXPECT_EQ(1, RunInstall(AnswersFromState()));
    EXPECT_TRUE(g_shownMessages.empty());

    ExpectedNames names = NamesForSystemLanguage(2);
    const std::string menu = ExpectedProgramsFolder() + "\\" + names.folder;
    EXPECT_EQ(3u, FolderEntries(menu).size());
    ExpectShortcut(menu + "\\" + names.editor + ".lnk", names.editor, file("ZEKEdit.exe"), installFolder_);
    ExpectShortcut(menu + "\\" + names.notes + ".lnk", names.notes, file("Morvalen.exe"), installFolder_);
    ExpectShortcut(menu + "\\" + names.uninstaller + ".lnk", names.uninstaller,
                   file("ZEKEditUnInstall.exe"), installFolder_);
    // No desktop choice: no desktop shortcut, and still position 97.
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.editor + ".lnk"));
    EXPECT_FALSE(FileExists(ExpectedDesktopFolder() + "\\" + names.notes + ".lnk"));
    EXPECT_EQ(kAllPositions, wizard.positions());
}

// Every file is the folder, a backslash and a name of up to 33 bytes
// ("mi_bihua1_dups_prefered_codes.bin"), all within 260 bytes with the zero:
// a folder of 225 bytes fits, one of 226 is refused before anything happens.
TEST_F(InstallRunTest, InstallFolderMustLeaveRoomForTheLongestName) {
    const std::string base = folder.path() + "\\";
    ASSERT_LT(base.size(), 200u);
    const std::string longest = base + std::string(225 - base.size(), 'f');
    const std::string tooLong = base + std::string(226 - base.size(), 'g');

    UseInstallFolder(tooLong);
    EXPECT_EQ(0, RunInstall(AnswersFromState()));
    EXPECT_TRUE(wizard.positions().empty());
    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_TRUE(FolderEntries(tooLong).empty());

    UseInstallFolder(longest);
    EXPECT_EQ(1, RunInstall(AnswersFromState()));
    ExpectInstalled(*std::find_if(kExpectedFiles.begin(), kExpectedFiles.end(), [](const ExpectedFile& f) {
        return std::string(f.name) == "mi_bihua1_dups_prefered_codes.bin";
    }));
    EXPECT_EQ(95u, FolderEntries(longest).size());
}

}  // namespace
