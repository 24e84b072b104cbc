// The names of the product's Start-menu folder and shortcuts, in the language
// of the running Windows: English on a non-Chinese system, GB2312 bytes on a
// Simplified Chinese one, Big5 bytes on a Traditional Chinese one. The names
// are handed to the shell as ANSI strings, so they are stored in the code page
// of the system they are meant for, not in the program's own GB2312.
#pragma once
#include "install/shortcuts.h"

struct ShortcutNames {
    const char* folderName;
    // The editor, the notes program, the uninstaller, then the end row.
    ShortcutRow rows[4];
};

// The names for a system language code: below 1 English, 1 Simplified,
// anything above Traditional.
const ShortcutNames& ShortcutNamesFor(int systemLanguage);

// The Traditional Chinese names (Big5), defined in a file compiled for Big5.
extern const ShortcutNames kTraditionalShortcutNames;
