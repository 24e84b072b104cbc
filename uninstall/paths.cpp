// Path helpers of the uninstaller; see uninstall.h.
#include "uninstall/uninstall.h"

#include "app/bounded.h"
#include "app/path_chars.h"

char* LastSeparator(char* path) {
    const char* last = FindLastBackslash(path);
    return last ? path + (last - path) : nullptr;
}

int IsSameFolder(const char* first, const char* second) {
    if (lstrcmpiA(first, second) == 0) return 1;
    char shortFirst[MAX_PATH];
    char shortSecond[MAX_PATH];
    DWORD firstLength = GetShortPathNameA(first, shortFirst, sizeof shortFirst);
    DWORD secondLength = GetShortPathNameA(second, shortSecond, sizeof shortSecond);
    return firstLength > 0 && firstLength < sizeof shortFirst && secondLength > 0 &&
                   secondLength < sizeof shortSecond && lstrcmpiA(shortFirst, shortSecond) == 0
               ? 1
               : 0;
}

int IsInFolder(const char* path, const char* folder) {
    char parent[MAX_PATH];
    if (!CopyBounded(parent, path)) return 0;
    char* separator = LastSeparator(parent);
    if (separator == nullptr) return 0;
    *separator = '\0';
    return IsSameFolder(parent, folder);
}
