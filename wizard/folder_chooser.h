// The folder chooser behind Browse: the old-style common file-open dialog
// with template 168, which keeps only the directory and drive lists. Its hook
// takes over OK and returns the folder open in the directory list, which the
// old-style dialog keeps as the process's current directory while it runs.
#pragma once
#include <windows.h>

// Opens the chooser owned by the wizard. When the user chose a folder, it is
// in g_installFolder and in the path field 1002; otherwise nothing changes.
void BrowseForInstallFolder(HWND wizard);

// The hook procedure of the chooser (exposed for tests).
UINT_PTR CALLBACK FolderChooserHook(HWND chooser, UINT message, WPARAM wParam, LPARAM lParam);
