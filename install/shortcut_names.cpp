// The English and Simplified Chinese shortcut names; see shortcut_names.h.
// This file is compiled for GB2312 like the rest of the program.
#include "install/shortcut_names.h"

#include "install/manifest.h"

namespace {

const ShortcutNames kEnglishShortcutNames = {
    "Zelko Scrivora",
    {{"Zelko Scrivora", kEditorFileName},
     {"Morvalen Pad", kNotesFileName},
     {"Zelko Scrivora UnInstall", kUninstallerFileName},
     {nullptr, nullptr}},
};

const ShortcutNames kSimplifiedShortcutNames = {
    "泽柯宁灵墨笺",
    {{"泽柯宁灵墨笺", kEditorFileName},
     {"泽柯宁文本编辑", kNotesFileName},
     {"泽柯宁灵墨笺卸载", kUninstallerFileName},
     {nullptr, nullptr}},
};

}  // namespace

const ShortcutNames& ShortcutNamesFor(int systemLanguage) {
    if (systemLanguage < 1) return kEnglishShortcutNames;
    if (systemLanguage == 1) return kSimplifiedShortcutNames;
    return kTraditionalShortcutNames;
}
