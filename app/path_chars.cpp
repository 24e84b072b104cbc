// Backslashes in ANSI paths; see path_chars.h.
#include "app/path_chars.h"

namespace {

// IsDBCSLeadByte answers for the system's code page on every Windows;
// IsDBCSLeadByteEx is only asked for another one.
bool IsLeadByte(UINT codePage, char byte) {
    BYTE b = static_cast<BYTE>(byte);
    return codePage == CP_ACP ? IsDBCSLeadByte(b) != FALSE : IsDBCSLeadByteEx(codePage, b) != FALSE;
}

// The start of the last backslash character, or null. A lead byte right
// before the terminating zero stands alone: it has no second byte to take.
const char* LastBackslash(UINT codePage, const char* path, const char** lastCharacter) {
    const char* found = nullptr;
    const char* last = nullptr;
    for (const char* p = path; *p != '\0';) {
        last = p;
        if (*p == '\\') found = p;
        p += (IsLeadByte(codePage, *p) && p[1] != '\0') ? 2 : 1;
    }
    if (lastCharacter != nullptr) *lastCharacter = last;
    return found;
}

}  // namespace

bool EndsWithBackslashIn(UINT codePage, const char* path) {
    const char* last = nullptr;
    const char* backslash = LastBackslash(codePage, path, &last);
    return backslash != nullptr && backslash == last;
}

bool EndsWithBackslash(const char* path) {
    return EndsWithBackslashIn(CP_ACP, path);
}

const char* SeparatorAfter(const char* folder) {
    return EndsWithBackslash(folder) ? "" : "\\";
}

bool RemoveTrailingBackslash(char* path) {
    const char* last = nullptr;
    const char* backslash = LastBackslash(CP_ACP, path, &last);
    if (backslash == nullptr || backslash != last) return false;
    path[backslash - path] = '\0';
    return true;
}

const char* FindLastBackslashIn(UINT codePage, const char* path) {
    return LastBackslash(codePage, path, nullptr);
}

const char* FindLastBackslash(const char* path) {
    return FindLastBackslashIn(CP_ACP, path);
}
