// Read-only and hidden bits of installed files; see file_attributes.h.
#include "install/file_attributes.h"

#include <windows.h>

int ClearFileAttributes(const char* path, int clearReadOnly, int clearHidden) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    DWORD cleared = attributes;
    if (clearReadOnly) cleared &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (clearHidden) cleared &= ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN);
    if (cleared == attributes) return 0;
    SetFileAttributesA(path, cleared);
    return 1;
}

void AddFileAttributes(const char* path, int readOnly, int hidden) {
    if (!readOnly && !hidden) return;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    // Hidden goes first: some file systems (Wine's on a POSIX disk among them)
    // store it in a way that needs write access, so it cannot be recorded on a
    // file that is already read-only.
    if (hidden && !(attributes & FILE_ATTRIBUTE_HIDDEN)) {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
        SetFileAttributesA(path, attributes);
    }
    if (readOnly && !(attributes & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesA(path, attributes | FILE_ATTRIBUTE_READONLY);
    }
}
