// Storage and start values of the process-wide state declared in globals.h.
#include "app/globals.h"

HINSTANCE g_instance = nullptr;
int g_isNtPlatform = 0;
int g_isOldShell = 0;
int g_systemLanguage = 0;
int g_uiLanguage = 0;  // DetectEnvironment sets it
int g_wizardPage = 0;
char g_installFolder[MAX_PATH] = "";
int g_wantDesktopIcons = 0;
int g_chineseDisplayOk = 0;
int g_allUsers = 0;
int g_exitCode = 0;
HWND g_wizardWindow = nullptr;
HICON g_wizardIcon = nullptr;
HFONT g_gb2312Font = nullptr;
