// A file held open by another process (hold_file.exe) without sharing, for
// as long as the object lives.
#pragma once
#include <windows.h>

#include <string>

class HeldFile {
public:
    // Starts hold_file.exe from this program's folder on an existing file
    // and waits until it holds it; held() says whether that worked.
    explicit HeldFile(const std::string& path);
    // Lets the file go and waits for the helper to end.
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool held() const { return held_; }
    // Releases the file now; returns the helper's exit code (0 when it held
    // the file until released), or -1 when it did not end in time.
    int Release();

private:
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    PROCESS_INFORMATION process_ = {};
    bool held_ = false;
    bool released_ = false;
};
