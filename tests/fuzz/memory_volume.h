// A volume of one file, held in memory, behind the Win32 file functions of
// win32/windows.h: the configuration update and its file layer run natively
// against it as they run against a disk. The disk can be made full at a
// given size, and every handle opened must be closed again.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct MemoryVolume {
    std::string path;              // the one file's path; any other path is missing
    bool exists = false;
    std::vector<uint8_t> bytes;
    uint32_t attributes = 0;
    size_t capacity = SIZE_MAX;    // the largest size the file may grow to
    int openHandles = 0;
    bool writeFailed = false;      // some write found the disk full
};

// The volume the functions work on.
extern MemoryVolume g_volume;
