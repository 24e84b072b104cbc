// The uninstall entry; see uninstall_entry.h.
#include "install/uninstall_entry.h"

#include <initializer_list>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/install_log.h"
#include "install/manifest.h"
#include "install/shortcut_names.h"
#include "resources/version.h"

namespace {

constexpr char kPublisher[] = "Zelko";
constexpr char kEnglishName[] = "Zelko Scrivora";
// Both names in Unicode, which the NT family stores and shows whatever the
// system's code page.
constexpr wchar_t kBilingualName[] = L"泽柯宁灵墨笺 Zelko Scrivora";

int WindowsMajorVersion() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) ? static_cast<int>(version.dwMajorVersion) : 0;
}

void SetText(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
}

void SetNumber(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// The display name: in Unicode on the NT family; on the 95 family in the
// system's code page, the Chinese part only where the system is Chinese
// (its Start-menu folder name is then the Chinese product name).
void SetDisplayName(HKEY key) {
    if (g_isNtPlatform) {
        RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kBilingualName),
                       sizeof kBilingualName);
        return;
    }
    char name[MAX_PATH];
    const char* local = ShortcutNamesFor(g_systemLanguage).folderName;
    if (g_systemLanguage == 0 || !FormatBounded(name, "%s %s", local, kEnglishName)) CopyBounded(name, kEnglishName);
    SetText(key, "DisplayName", name);
}

// The values, each built within its buffer; one that does not fit is left out.
void SetEntryValues(HKEY key, uint32_t productBytes) {
    char text[MAX_PATH + 16];
    SetDisplayName(key);
    SetText(key, "DisplayVersion", SCRIVORA_VERSION_TEXT);
    SetText(key, "Publisher", kPublisher);
    SetText(key, "InstallLocation", g_installFolder);
    if (FormatBounded(text, "%s\\%s,0", g_installFolder, kEditorFileName)) SetText(key, "DisplayIcon", text);
    if (FormatBounded(text, "\"%s\\%s\"", g_installFolder, kUninstallerFileName)) {
        SetText(key, "UninstallString", text);
        if (FormatBounded(text, "\"%s\\%s\" /S", g_installFolder, kUninstallerFileName)) {
            SetText(key, "QuietUninstallString", text);
        }
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (FormatBounded(text, "%04d%02d%02d", now.wYear, now.wMonth, now.wDay)) SetText(key, "InstallDate", text);
    SetNumber(key, "EstimatedSize", (productBytes + 1023) / 1024);   // in KB, as the list shows it
    SetNumber(key, "NoModify", 1);
    SetNumber(key, "NoRepair", 1);
}

}  // namespace

DWORD FileSizeOf(const char* path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    return found.nFileSizeLow;
}

HKEY UninstallEntryHive() {
    if (!g_isNtPlatform || g_allUsers) return HKEY_LOCAL_MACHINE;
    int major = WindowsMajorVersion();
    if (major <= 3) return nullptr;
    return major == 4 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

void WriteUninstallEntry(uint32_t productBytes) {
    HKEY hive = UninstallEntryHive();
    if (hive == nullptr) {
        LogLine("uninstall entry: none,", "this system has no list of installed programs");
        return;
    }
    HKEY key;
    DWORD disposition;
    LONG result = RegCreateKeyExA(hive, kUninstallKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                  nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS) {
        LogFailure("uninstall entry", kUninstallKeyPath, static_cast<DWORD>(result));
        return;
    }
    SetEntryValues(key, productBytes);
    RegCloseKey(key);
    LogLine(hive == HKEY_CURRENT_USER ? "uninstall entry in HKEY_CURRENT_USER:" : "uninstall entry in HKEY_LOCAL_MACHINE:",
            kUninstallKeyPath);
}

bool ReadEntryLocation(HKEY hive, char (&folder)[MAX_PATH]) {
    HKEY key;
    if (RegOpenKeyExA(hive, kUninstallKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD size = MAX_PATH - 1;
    LONG result = RegQueryValueExA(key, "InstallLocation", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size);
    RegCloseKey(key);
    // The value may lack its zero: the buffer keeps one byte for it.
    folder[result == ERROR_SUCCESS && type == REG_SZ && size < MAX_PATH ? size : 0] = '\0';
    return folder[0] != '\0';
}

bool FindInstalledFolder(char (&folder)[MAX_PATH]) {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        char editor[MAX_PATH];
        if (ReadEntryLocation(hive, folder) && FormatBounded(editor, "%s\\%s", folder, kEditorFileName) &&
            GetFileAttributesA(editor) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
    }
    folder[0] = '\0';
    return false;
}

bool MayWriteMachineEntry() {
    HKEY key;
    DWORD disposition;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    // A key this test made is taken away again.
    if (disposition == REG_CREATED_NEW_KEY) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    return true;
}
