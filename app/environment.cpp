// Environment detection: platform family, shell generation, code page and
// system language, read once at start-up into the process-wide state.
#include "app/environment.h"

#include "app/globals.h"

int IsDoubleByteCodePage() {
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info)) {
        return 0;
    }
    return info.MaxCharSize > 1 ? 1 : 0;
}

int SystemLanguageCode(LANGID languageId, int doubleByteCodePage) {
    if (!doubleByteCodePage || PRIMARYLANGID(languageId) != LANG_CHINESE) {
        return 0;
    }
    // The lowest bit of the sub-language tells the traditional script regions
    // (0x0404 Taiwan, 0x0C04 Hong Kong, 0x1404 Macau) from the simplified ones.
    return (languageId & 0x400) ? 2 : 1;
}

void DetectEnvironment() {
    // The plain structure (148 bytes) is the one every Windows from the 95
    // family and NT 3.51 on accepts.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA must be the 148-byte form");
    if (GetVersionExA(&version)) {
        if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
            g_isNtPlatform = 1;
        }
        if (version.dwMajorVersion == 3) {
            g_isOldShell = 1;
        }
    }
    g_systemLanguage = SystemLanguageCode(GetSystemDefaultLangID(), IsDoubleByteCodePage());
    g_uiLanguage = 1;
}
