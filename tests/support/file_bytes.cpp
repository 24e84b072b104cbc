#include "support/file_bytes.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes ReadBytes(const std::string& path) {
    Bytes bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    uint8_t block[65536];
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0) bytes.insert(bytes.end(), block, block + n);
    fclose(f);
    return bytes;
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

int ReadOnlyHiddenBits(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    return static_cast<int>(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

bool SetReadOnlyHidden(const std::string& path) {
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN) &&
           SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
