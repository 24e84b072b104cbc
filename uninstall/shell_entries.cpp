// Removal of the product's shell entries: the Start-menu folder with its
// three shortcuts and the two desktop shortcuts, under the names the setup
// program gave them on this system (system language) and in the folders it
// used (the old shell's layout where the shell has no special folders), or
// the Program Manager group where setup made one.
//
// A shortcut goes only when its target lies in the folder being uninstalled:
// a later installation into another folder owns the same names, and its
// entries must survive the removal of an older copy. A shortcut whose target
// cannot be read is left alone for the same reason.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/program_manager.h"
#include "install/shortcut_names.h"
#include "install/shortcuts.h"
#include "uninstall/uninstall.h"

namespace {

// Desktop shortcuts exist for the editor and the notes program (rows 1, 2).
constexpr int kDesktopRows = 2;

// Reads the target path of a shortcut file into target[MAX_PATH] through the
// shell link object. Returns 1 when a target was read.
int ReadShortcutTarget(const char* linkPath, char* target) {
    WCHAR wideLinkPath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wideLinkPath, MAX_PATH) == 0) return 0;
    if (FAILED(CoInitialize(nullptr))) return 0;
    int result = 0;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            target[0] = '\0';
            if (SUCCEEDED(file->Load(wideLinkPath, STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) && target[0] != '\0') {
                result = 1;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

// Removes folder\<display name>.lnk when it points into installFolder.
void RemoveShortcutInto(const char* folder, const char* displayName, const char* installFolder) {
    char linkPath[MAX_PATH];
    char target[MAX_PATH];
    if (!FormatBounded(linkPath, "%s\\%s.lnk", folder, displayName)) return;
    if (GetFileAttributesA(linkPath) == INVALID_FILE_ATTRIBUTES) return;
    if (!ReadShortcutTarget(linkPath, target) || !IsInFolder(target, installFolder)) return;
    char fileName[MAX_PATH];
    if (!FormatBounded(fileName, "%s.lnk", displayName)) return;
    RemoveProductFile(linkPath, fileName);
}

}  // namespace

void RemoveShellEntries(const char* installFolder) {
    const ShortcutNames& names = ShortcutNamesFor(g_systemLanguage);

    char folder[MAX_PATH];
    if (UsesProgramManager()) {
        // The commands that made the group cannot read an item's target
        // back, so the group of the product's name goes as a whole.
        DeleteProgramGroup(names.folderName);
    } else if (LookUpShellFolder(folder, kFolderPrograms)) {
        char productFolder[MAX_PATH];
        if (FormatBounded(productFolder, "%s\\%s", folder, names.folderName)) {
            for (const ShortcutRow* row = names.rows; row->displayName != nullptr; ++row) {
                RemoveShortcutInto(productFolder, row->displayName, installFolder);
            }
            // Goes only when nothing else is in it.
            RemoveDirectoryA(productFolder);
        }
    }

    if (LookUpShellFolder(folder, kFolderDesktop)) {
        for (int i = 0; i < kDesktopRows; ++i) {
            RemoveShortcutInto(folder, names.rows[i].displayName, installFolder);
        }
    }
}
