// The uninstaller of the product (installed as ZEKEditUnInstall.exe): it
// removes from the folder it was started from exactly what the setup program
// made there and in the shell, asks first, names what it could not remove,
// and removes itself last. Built from the setup program's own manifest,
// shortcut names, shell-folder lookup, glyph font code and message box.
//
// It calls no C runtime function: only Win32 and the bounded text helpers.
#pragma once
#include <windows.h>

// Path helpers (paths.cpp), over the code-page-aware ones of app/path_chars.h.

// The position of the last backslash character of path, or null when it has
// none; writable, for cutting the path there.
char* LastSeparator(char* path);
// 1 when both name the same existing folder, whichever of its long and
// short (8.3) names each uses, else 0. Text equal without regard to letter
// case counts as the same folder even when it does not exist. The 95
// family's folder chooser may hand out C:\PROGRA~1\ZELKO where the shell or
// the running uninstaller say C:\Program Files\Zelko.
int IsSameFolder(const char* first, const char* second);
// 1 when path names a file or folder directly inside folder (IsSameFolder),
// else 0.
int IsInFolder(const char* path, const char* folder);

// Removal (removal.cpp). Each removal that fails on a file still there
// records the file's name for the closing message.

// Deletes one file after clearing read-only and hidden; a file that is not
// there counts as removed. When the delete fails the file keeps its
// attributes and its name is recorded. `name` is what the user is told.
void RemoveProductFile(const char* path, const char* name);
// The 95 manifest files but the uninstaller itself, the learned dictionaries
// the product may have written, and the "doc" folder when empty.
void RemoveProductFiles(const char* folder);
// The Start-menu folder with its three shortcuts and the two desktop
// shortcuts, each only when it points into folder (shell_entries.cpp).
void RemoveShellEntries(const char* folder);

// The uninstall entries, of the user and of the machine, that name folder
// as their InstallLocation (entry_removal.cpp).
void RemoveUninstallEntries(const char* folder);

// The names of the files that could not be removed, joined for the closing
// message; empty when everything went.
const char* UnremovedFiles();

// Self-removal (self_removal.cpp).

// Copies the running uninstaller into the temporary folder and starts the
// copy, which deletes the original once it has ended. Returns 1 when the copy
// runs.
int StartFinishingCopy(const char* self);
// When the command line is that of such a copy, finishes the removal (the
// original, the install folder when empty, then the copy itself) and returns
// 1; else returns 0 at once.
int RunAsFinishingCopy(const char* commandLine);
