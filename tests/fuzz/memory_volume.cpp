// The Win32 file functions over g_volume; see memory_volume.h. They behave
// as the system's do where the file layer could tell: opening for writing
// fails on a read-only file, reading past the end gives no bytes, a write that
// does not fit takes what fits and fails, the file pointer may be set past
// the end and a write there fills the gap with zeros.
#include "memory_volume.h"

#include <windows.h>

#include <cstring>

MemoryVolume g_volume;

namespace {

struct OpenFile {
    uint32_t pointer;
    bool readable;
    bool writable;
};

bool IsTheFile(LPCSTR path) { return g_volume.exists && g_volume.path == path; }

OpenFile* Opened(HANDLE handle) { return static_cast<OpenFile*>(handle); }

}  // namespace

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD, void*, DWORD disposition, DWORD, HANDLE) {
    bool writing = (access & GENERIC_WRITE) != 0;
    if (disposition == CREATE_NEW && IsTheFile(path)) return INVALID_HANDLE_VALUE;
    if (disposition == CREATE_ALWAYS || disposition == CREATE_NEW) {
        if (IsTheFile(path) && (g_volume.attributes & FILE_ATTRIBUTE_READONLY)) {
            return INVALID_HANDLE_VALUE;
        }
        if (!IsTheFile(path) && !g_volume.path.empty() && g_volume.path != path) {
            return INVALID_HANDLE_VALUE;   // one file only
        }
        g_volume.path = path;
        g_volume.exists = true;
        g_volume.bytes.clear();
    } else {
        if (!IsTheFile(path)) return INVALID_HANDLE_VALUE;
        if (writing && (g_volume.attributes & FILE_ATTRIBUTE_READONLY)) return INVALID_HANDLE_VALUE;
    }
    ++g_volume.openHandles;
    return new OpenFile{0, (access & GENERIC_READ) != 0, writing};
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD count, DWORD* read, void*) {
    OpenFile* file = Opened(handle);
    *read = 0;
    if (!file->readable) return FALSE;
    size_t size = g_volume.bytes.size();
    if (file->pointer >= size) return TRUE;
    size_t part = size - file->pointer < count ? size - file->pointer : count;
    memcpy(buffer, g_volume.bytes.data() + file->pointer, part);
    file->pointer += static_cast<uint32_t>(part);
    *read = static_cast<DWORD>(part);
    return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD count, DWORD* written, void*) {
    OpenFile* file = Opened(handle);
    *written = 0;
    if (!file->writable) return FALSE;
    size_t end = static_cast<size_t>(file->pointer) + count;
    size_t fits = count;
    if (end > g_volume.capacity) {
        fits = g_volume.capacity > file->pointer ? g_volume.capacity - file->pointer : 0;
        end = file->pointer + fits;
    }
    if (end > g_volume.bytes.size()) g_volume.bytes.resize(end, 0);
    if (fits > 0) memcpy(g_volume.bytes.data() + file->pointer, buffer, fits);
    file->pointer += static_cast<uint32_t>(fits);
    *written = static_cast<DWORD>(fits);
    if (fits < count) {
        g_volume.writeFailed = true;
        return FALSE;
    }
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
    OpenFile* file = Opened(handle);
    if (distanceHigh != nullptr && *distanceHigh != 0) return INVALID_SET_FILE_POINTER;
    int64_t base = method == FILE_END ? static_cast<int64_t>(g_volume.bytes.size()) : 0;
    int64_t at = base + distance;
    if (method != FILE_BEGIN && method != FILE_END) return INVALID_SET_FILE_POINTER;
    if (at < 0 || at >= INVALID_SET_FILE_POINTER) return INVALID_SET_FILE_POINTER;
    file->pointer = static_cast<uint32_t>(at);
    return file->pointer;
}

BOOL CloseHandle(HANDLE handle) {
    delete Opened(handle);
    --g_volume.openHandles;
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path) {
    return IsTheFile(path) ? g_volume.attributes : INVALID_FILE_ATTRIBUTES;
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
    if (!IsTheFile(path)) return FALSE;
    g_volume.attributes = attributes;
    return TRUE;
}
