// The Traditional Chinese shortcut names; see shortcut_names.h. The build
// compiles this one file with Big5 as its execution character set, so the
// strings below are Big5 bytes in the program.
#include "install/manifest.h"
#include "install/shortcut_names.h"

extern const ShortcutNames kTraditionalShortcutNames = {
    "澤柯寧靈墨箋",
    {{"澤柯寧靈墨箋", kEditorFileName},
     {"澤柯寧文本編輯", kNotesFileName},
     {"澤柯寧靈墨箋卸載", kUninstallerFileName},
     {nullptr, nullptr}},
};
