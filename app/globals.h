// Process-wide state of the setup program. It runs on one thread, so there
// are no locks; everything here lives for the whole run. Each variable says
// who writes it; the readers are spread over the subsystems.
#pragma once
#include <windows.h>

// Instance handle of the running executable: resources and dialogs come from it.
extern HINSTANCE g_instance;

// Platform family and shell, detected at start-up.
extern int g_isNtPlatform;   // non-zero on the Windows NT family
extern int g_isOldShell;     // non-zero on Windows major version 3 (no shell folders)

// Language of the running Windows: 0 other, 1 Chinese (PRC, Singapore),
// 2 Chinese (Taiwan, Hong Kong, Macau). Chooses the shortcut names.
extern int g_systemLanguage;

// Language the installed product will use: 0 English, 1 Simplified, 2 Traditional.
extern int g_uiLanguage;

// Wizard page: 0..3 the four pages, 99 while installing, -1 to end the program.
extern int g_wizardPage;
constexpr int kPageInstalling = 99;
constexpr int kPageEnd = -1;

// The folder everything is installed into; at most MAX_PATH bytes with the zero.
extern char g_installFolder[MAX_PATH];

extern int g_wantDesktopIcons;   // the desktop-icon check box was ticked
extern int g_chineseDisplayOk;   // the user saw the sample Chinese line correctly
extern int g_exitCode;           // the process's exit code once the wizard ends (exit_codes.h)
extern int g_allUsers;           // shortcuts and uninstall entry for every user (/ALLUSERS)

extern HWND g_wizardWindow;
extern HICON g_wizardIcon;
extern HFONT g_gb2312Font;
