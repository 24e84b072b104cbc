// Path helpers of the uninstaller; see uninstall.h.
#include "uninstall/uninstall.h"

#include "app/bounded.h"

char* LastSeparator(char* path) {
    char* last = nullptr;
    for (char* p = path; *p != '\0'; ++p) {
        if (*p == '\\') {
            last = p;
        } else if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0') {
            ++p;   // the trail byte may look like a backslash
        }
    }
    return last;
}

int IsInFolder(const char* path, const char* folder) {
    char parent[MAX_PATH];
    if (!CopyBounded(parent, path)) return 0;
    char* separator = LastSeparator(parent);
    if (separator == nullptr) return 0;
    *separator = '\0';
    return lstrcmpiA(parent, folder) == 0 ? 1 : 0;
}
