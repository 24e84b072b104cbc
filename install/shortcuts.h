// Shortcuts and shell folders.
//
// At the end of the install the product gets a folder in the programs folder
// of the Start menu with one shortcut per program, and, when the user asked
// for desktop icons, one desktop shortcut per program. Every shortcut points
// to a file in the install folder, takes its icon from that file and starts in
// the install folder. Every path is built within MAX_PATH bytes; a path that
// does not fit fails its operation instead of being cut.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <cstddef>

// Folder kinds: the shell's special folder identifiers.
constexpr int kFolderDesktop = 0;    // CSIDL_DESKTOP
constexpr int kFolderPrograms = 2;   // CSIDL_PROGRAMS
constexpr int kFolderCommonPrograms = 23;   // CSIDL_COMMON_PROGRAMS, used for kFolderPrograms with g_allUsers
constexpr int kFolderCommonDesktop = 25;    // CSIDL_COMMON_DESKTOPDIRECTORY, for kFolderDesktop with g_allUsers

// One shortcut: its display name (the .lnk file's name and the description)
// and the name of its target file in the install folder. A list of rows ends
// with a row whose display name is null.
struct ShortcutRow {
    const char* displayName;
    const char* targetFileName;
};

// Makes the folder `folderName` (none when null or empty) in the shell folder
// of folderKind, reusing whatever already stands there, and one shortcut per
// row in it. Reports message row 9 when the folder cannot be created and row 10
// when the shell folder is unknown or the last row's shortcut fails; an
// earlier row's failure is not reported. Where the shell is Program Manager
// (UsesProgramManager), the programs folder's entry is a group of that name
// instead, and row 10 tells of its failure. Returns non-zero on success.
int CreateStartMenuEntry(const char* folderName, const ShortcutRow* rows, int folderKind);

// Makes a desktop shortcut to targetFileName in the install folder, where
// the system has a desktop folder. Silent: a failure, or no desktop (Program
// Manager's systems), leaves no shortcut and shows nothing.
void CreateDesktopShortcut(const char* targetFileName, const char* displayName);

// Holds a COM apartment open on this thread while it lives, so that the
// shortcuts made meanwhile share it: each one's own opening is then only
// counted. Opening and closing a thread's first apartment costs about as much
// as making a shortcut.
struct ShortcutApartment {
    ShortcutApartment() : opened(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ShortcutApartment() {
        if (opened) CoUninitialize();
    }
    ShortcutApartment(const ShortcutApartment&) = delete;
    ShortcutApartment& operator=(const ShortcutApartment&) = delete;

    bool opened;   // S_FALSE (one was open already) counts: it is owed its CoUninitialize
};

// 1 when the product's entry is a Program Manager group: on an old shell
// whose programs folder under the Windows folder does not exist (Windows NT
// 3.51 as shipped has Program Manager and no Start menu), else 0.
int UsesProgramManager();

// 1 when path names an existing folder, else 0.
int FolderExists(const char* path);

// The path of a shell folder (folderKind) into path[MAX_PATH]: from the
// old layout when the running shell has none of its own (g_isOldShell), else
// from the shell. Returns 1 when the path was written, else 0.
int LookUpShellFolder(char* path, int folderKind);

// The path of a shell folder (folderKind) as the shell reports it, into
// path[MAX_PATH]. Returns 1 when the path was written, else 0.
int GetShellFolder(char* path, int folderKind);

// The same folders as an old shell without special folders lays them out,
// built from the Windows folder (and the user's profile on the NT platform)
// into path[MAX_PATH]. Returns 1 when the path was written, else 0.
int GetOldShellFolder(char* path, int folderKind);

// The old shell's layout: windowsFolder, a backslash unless it ends with one,
// "profiles\<user>\" when userName is not null (NT), then "start menu\programs"
// for the programs folder or "Desktop" for the desktop (nothing for other
// kinds). Returns 1 when the result fits in path[size], else 0.
int BuildOldShellFolder(char* path, size_t size, const char* windowsFolder, const char* userName,
                        int folderKind);

// Writes the shortcut linkPath to targetPath with the given description, the
// target's first icon and the target's folder as working directory, inside a
// COM apartment of its own. Returns 1 when the .lnk file was saved, else 0.
int CreateShortcut(const char* targetPath, const char* linkPath, const char* description);
