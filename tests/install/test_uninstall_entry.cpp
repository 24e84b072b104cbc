// The uninstall entry as each Windows gets it: which list (the user's, the
// machine's, none), the display name's bytes in each system's encoding, and
// the folder a later setup proposes from it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/shortcut_names.h"
#include "install/uninstall_entry.h"
#include "support/temp_folder.h"

namespace {

// The size the run would give: any, as none of these tests reads it.
constexpr uint32_t kProductBytes = 14u << 20;

std::string ReadName(HKEY hive) {
    HKEY key;
    if (RegOpenKeyExA(hive, kUninstallKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "(no entry)";
    char value[256] = "";
    DWORD size = sizeof value - 1;
    LONG result = RegQueryValueExA(key, "DisplayName", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? value : "(no value)";
}

std::wstring ReadWideName(HKEY hive) {
    HKEY key;
    if (RegOpenKeyExA(hive, kUninstallKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"(no entry)";
    wchar_t value[128] = L"";
    DWORD size = sizeof value - sizeof(wchar_t);
    LONG result = RegQueryValueExW(key, L"DisplayName", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? value : L"(no value)";
}

void RemoveEntries() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKeyPath);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
}

class UninstallEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveEntries();
        ASSERT_TRUE(CopyBounded(g_installFolder, folder.path().c_str()));
    }
    void TearDown() override {
        RemoveEntries();
        g_isNtPlatform = 0;
        g_systemLanguage = 0;
        g_allUsers = 0;
        g_installFolder[0] = '\0';
    }
    TempFolder folder;
};

// The 95 family: the machine's list, the name in the system's code page,
// with the Chinese product name only where the system is Chinese.
TEST_F(UninstallEntryTest, NinetyFiveFamilyNamesTheProductInTheSystemsCodePage) {
    g_isNtPlatform = 0;
    const char* names[] = {"Zelko Scrivora", "\xD4\xF3\xBF\xC2\xC4\xFE\xC1\xE9\xC4\xAB\xBC\xE3 Zelko Scrivora",
                           nullptr};
    for (int language = 0; language <= 2; ++language) {
        SCOPED_TRACE(language);
        g_systemLanguage = language;
        ASSERT_EQ(HKEY_LOCAL_MACHINE, UninstallEntryHive());
        WriteUninstallEntry(kProductBytes);
        std::string expected = names[language] ? names[language]
                                               : std::string(kTraditionalShortcutNames.folderName) + " Zelko Scrivora";
        EXPECT_EQ(expected, ReadName(HKEY_LOCAL_MACHINE));
        EXPECT_EQ("(no entry)", ReadName(HKEY_CURRENT_USER));
        RemoveEntries();
    }
}

// The NT family from Windows 2000 on (this Wine answers 6.1): the user's list,
// the name in Unicode whatever the code page; for every user the machine's.
TEST_F(UninstallEntryTest, NtFamilyWritesTheUsersListInUnicodeAndTheMachinesForEveryUser) {
    g_isNtPlatform = 1;
    ASSERT_EQ(HKEY_CURRENT_USER, UninstallEntryHive());
    WriteUninstallEntry(kProductBytes);
    EXPECT_EQ(L"\u6cfd\u67ef\u5b81\u7075\u58a8\u7b3a Zelko Scrivora", ReadWideName(HKEY_CURRENT_USER));
    EXPECT_EQ(L"(no entry)", ReadWideName(HKEY_LOCAL_MACHINE));
    RemoveEntries();
    g_allUsers = 1;
    ASSERT_EQ(HKEY_LOCAL_MACHINE, UninstallEntryHive());
    WriteUninstallEntry(kProductBytes);
    EXPECT_EQ(L"(no entry)", ReadWideName(HKEY_CURRENT_USER));
    EXPECT_EQ(L"\u6cfd\u67ef\u5b81\u7075\u58a8\u7b3a Zelko Scrivora", ReadWideName(HKEY_LOCAL_MACHINE));
}

// A later setup proposes the entry's folder only while it holds the product.
TEST_F(UninstallEntryTest, EarlierFolderIsProposedOnlyWhileItHoldsTheEditor) {
    g_isNtPlatform = 1;
    WriteUninstallEntry(kProductBytes);
    char found[MAX_PATH] = "x";
    EXPECT_FALSE(FindInstalledFolder(found));
    EXPECT_STREQ("", found);
    std::ofstream(folder / "ZEKEdit.exe") << "editor";
    ASSERT_TRUE(FindInstalledFolder(found));
    EXPECT_EQ(folder.path(), found);
}

}  // namespace
