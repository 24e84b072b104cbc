// The install folder around the run; see install_folder.h.
#include "install/install_folder.h"

#include <windows.h>

#include "app/bounded.h"
#include "app/globals.h"
#include "app/path_chars.h"
#include "install/install_log.h"

namespace {

constexpr char kDocFolderName[] = "doc";

// The "doc" folder for the help pages, inside the install folder.
bool FormatDocFolder(char (&doc)[MAX_PATH]) {
    return FormatBounded(doc, "%s%s%s", g_installFolder, SeparatorAfter(g_installFolder), kDocFolderName) != 0;
}

}  // namespace

bool EnterOrCreateInstallFolder(bool* created) {
    *created = false;
    if (g_installFolder[0] == '\0') return false;
    if (SetCurrentDirectoryA(g_installFolder)) return true;
    if (!CreateDirectoryA(g_installFolder, nullptr)) {
        LogFailure("create folder", g_installFolder, GetLastError());
        return false;
    }
    *created = true;
    char doc[MAX_PATH];
    if (FormatDocFolder(doc)) CreateDirectoryA(doc, nullptr);
    return true;
}

void RemoveCreatedFolderIfEmpty() {
    char doc[MAX_PATH];
    if (!FormatDocFolder(doc)) return;
    RemoveDirectoryA(doc);
    if (!RemoveDirectoryA(g_installFolder)) CreateDirectoryA(doc, nullptr);
}
