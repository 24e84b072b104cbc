// Which shortcut targets the uninstaller takes for its own: a file directly
// in its folder, whichever of the folder's long and short (8.3) names the
// target and the folder use.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "uninstall/uninstall.h"

namespace {

std::string ShortForm(const std::string& path) {
    char shortPath[MAX_PATH] = "";
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : "";
}

std::string Upper(std::string text) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

TEST(UninstallPathsTest, TargetInFolderWhateverFormEachTakes) {
    TempFolder base;
    const std::string folder = base / "Zelko Scrivora Files";
    const std::string other = base / "Zelko Scrivora Fonts";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    const std::string shortFolder = ShortForm(folder);
    const std::string shortOther = ShortForm(other);
    // Without distinct short forms the cases below would prove nothing.
    ASSERT_NE("", shortFolder);
    ASSERT_NE(Upper(folder), Upper(shortFolder));
    ASSERT_NE(Upper(shortFolder), Upper(shortOther));

    struct Case {
        std::string path;
        std::string folder;
        int inFolder;
    } cases[] = {
        {folder + "\\ZEKEdit.exe", folder, 1},
        {folder + "\\ZEKEdit.exe", Upper(folder), 1},
        {folder + "\\ZEKEdit.exe", shortFolder, 1},
        {shortFolder + "\\ZEKEdit.exe", folder, 1},
        {shortFolder + "\\ZEKEDIT.EXE", shortFolder, 1},
        {other + "\\ZEKEdit.exe", shortFolder, 0},
        {shortOther + "\\ZEKEdit.exe", folder, 0},
        {folder + "\\doc\\ZEKEdit.exe", shortFolder, 0},
        {"ZEKEdit.exe", folder, 0},
        // A folder that is not there has no short form: only its text counts.
        {base / "Gone Folder\\ZEKEdit.exe", base / "GONEFO~1", 0},
        {base / "Gone Folder\\ZEKEdit.exe", base / "gone folder", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.inFolder, IsInFolder(c.path.c_str(), c.folder.c_str())) << c.path << " in " << c.folder;
    }
}

}  // namespace
