// Prints what start-up detects about the running Windows, for the platform
// matrix: each case runs this program under one Windows version and one
// locale of Wine and compares the line with the expected one.
#include <cstdio>

#include "app/environment.h"
#include "app/globals.h"

int main() {
    DetectEnvironment();
    std::printf("nt=%d oldshell=%d syslang=%d ui=%d\n", g_isNtPlatform, g_isOldShell,
                g_systemLanguage, g_uiLanguage);
    return 0;
}
