// Environment detection at start-up: the few properties of the running Windows
// that the rest of the program depends on. DetectEnvironment fills the
// process-wide flags and language codes of globals.h; the pieces are separate
// so that the language rule can be checked for any language identifier.
#pragma once
#include <windows.h>

// 1 when the ANSI code page is a double-byte one (MaxCharSize above 1);
// 0 otherwise, also when the code page cannot be queried.
int IsDoubleByteCodePage();

// The system language code for a language identifier: 1 for Chinese whose
// sub-language has bit 0x400 clear (PRC, Singapore), 2 with it set (Taiwan,
// Hong Kong, Macau), 0 for every other language and whenever the code page is
// single-byte, because then no Chinese text can be shown by Windows anyway.
int SystemLanguageCode(LANGID languageId, int doubleByteCodePage);

// Sets g_isNtPlatform, g_isOldShell, g_systemLanguage and g_uiLanguage (always
// 1, Chinese Simplified, until the user picks a language on the last page).
void DetectEnvironment();
