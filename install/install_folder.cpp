// The install folder around the run; see install_folder.h.
#include "install/install_folder.h"

#include <windows.h>

#include <cstring>

#include "app/bounded.h"
#include "app/globals.h"
#include "app/path_chars.h"
#include "install/install_log.h"

namespace {

constexpr char kDocFolderName[] = "doc";

// The folder EnterOrCreateInstallFolder made last, until a run takes it.
char g_folderMadeForRun[MAX_PATH];

// The "doc" folder for the help pages, inside the install folder.
bool FormatDocFolder(char (&doc)[MAX_PATH]) {
    return FormatBounded(doc, "%s%s%s", g_installFolder, SeparatorAfter(g_installFolder), kDocFolderName) != 0;
}

}  // namespace

bool EnterOrCreateInstallFolder(bool* created) {
    *created = false;
    g_folderMadeForRun[0] = '\0';
    if (g_installFolder[0] == '\0') return false;
    if (SetCurrentDirectoryA(g_installFolder)) return true;
    if (!CreateDirectoryA(g_installFolder, nullptr)) {
        LogFailure("create folder", g_installFolder, GetLastError());
        return false;
    }
    *created = true;
    CopyBounded(g_folderMadeForRun, g_installFolder);
    char doc[MAX_PATH];
    if (FormatDocFolder(doc)) CreateDirectoryA(doc, nullptr);
    return true;
}

bool TakeInstallFolderMadeForRun() {
    bool made = g_folderMadeForRun[0] != '\0' && lstrcmpiA(g_folderMadeForRun, g_installFolder) == 0;
    g_folderMadeForRun[0] = '\0';
    return made;
}

void RemoveCreatedFolderIfEmpty() {
    char doc[MAX_PATH];
    if (!FormatDocFolder(doc)) return;
    RemoveDirectoryA(doc);
    if (!RemoveDirectoryA(g_installFolder)) CreateDirectoryA(doc, nullptr);
}
