// Reading and writing whole files as bytes, and attribute checks, for tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

bool FileExists(const std::string& path);
// The file's bytes; an empty vector when it cannot be read.
Bytes ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const Bytes& bytes);
// Marks a file read-only and hidden: hidden first, because as an unprivileged
// user Wine cannot record "hidden" on a file that is already read-only.
bool SetReadOnlyHidden(const std::string& path);
// FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN bits of the file, or -1.
int ReadOnlyHiddenBits(const std::string& path);
// The names of everything in a folder except "." and "..", sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
