// Path helpers of the uninstaller; see uninstall.h.
#include "uninstall/uninstall.h"

#include "app/bounded.h"
#include "app/path_chars.h"

char* LastSeparator(char* path) {
    const char* last = FindLastBackslash(path);
    return last ? path + (last - path) : nullptr;
}

int IsInFolder(const char* path, const char* folder) {
    char parent[MAX_PATH];
    if (!CopyBounded(parent, path)) return 0;
    char* separator = LastSeparator(parent);
    if (separator == nullptr) return 0;
    *separator = '\0';
    return lstrcmpiA(parent, folder) == 0 ? 1 : 0;
}
