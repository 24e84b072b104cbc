// Shell folders: the desktop and the Start menu's programs folder, from the
// shell's special folder locations, or, on a Windows whose shell predates
// them (the old-shell flag), from the layout such a shell used under the
// Windows folder. Where that layout is not there either (Windows NT 3.51 as
// shipped), the shell is Program Manager, which keeps groups instead.
// Shared by the setup program, which makes its shortcuts there, and the
// uninstaller, which removes them again.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include "app/bounded.h"
#include "app/globals.h"
#include "app/path_chars.h"
#include "install/shortcuts.h"

namespace {
constexpr int kUserNameSize = 256;
}  // namespace

int FolderExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

int UsesProgramManager() {
    char programs[MAX_PATH];
    return g_isOldShell && !(GetOldShellFolder(programs, kFolderPrograms) && FolderExists(programs)) ? 1 : 0;
}

int LookUpShellFolder(char* path, int folderKind) {
    return g_isOldShell ? GetOldShellFolder(path, folderKind) : GetShellFolder(path, folderKind);
}

int GetShellFolder(char* path, int folderKind) {
    // For every user: the common folders, which the NT family has from
    // version 4 on. The 95 family has one set of folders, its own.
    if (g_allUsers && g_isNtPlatform) {
        folderKind = folderKind == kFolderPrograms ? kFolderCommonPrograms : kFolderCommonDesktop;
    }
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator))) return 0;
    LPITEMIDLIST list = nullptr;
    int result = 0;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, folderKind, &list))) {
        result = SHGetPathFromIDListA(list, path) ? 1 : 0;
        allocator->Free(list);
    }
    allocator->Release();
    return result;
}

int BuildOldShellFolder(char* path, size_t size, const char* windowsFolder, const char* userName,
                        int folderKind) {
    const char* separator = SeparatorAfter(windowsFolder);
    const char* ending = folderKind == kFolderPrograms  ? "start menu\\programs"
                         : folderKind == kFolderDesktop ? "Desktop"
                                                        : "";
    if (userName != nullptr) {
        return FormatBounded(path, size, "%s%sprofiles\\%s\\%s", windowsFolder, separator, userName,
                             ending);
    }
    return FormatBounded(path, size, "%s%s%s", windowsFolder, separator, ending);
}

int GetOldShellFolder(char* path, int folderKind) {
    char windowsFolder[MAX_PATH];
    UINT windowsLength = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    char userName[kUserNameSize];
    const char* user = nullptr;
    if (g_isNtPlatform) {
        DWORD userSize = sizeof userName;
        if (!GetUserNameA(userName, &userSize)) return 0;
        user = userName;
    }
    // GetWindowsDirectoryA returns the needed size when the buffer is too small.
    if (windowsLength == 0 || windowsLength >= sizeof windowsFolder) return 0;
    return BuildOldShellFolder(path, MAX_PATH, windowsFolder, user, folderKind);
}
