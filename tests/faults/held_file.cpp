// A file held by another process; see held_file.h.
#include "held_file.h"

#include <cstdio>

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kEndTimeoutMs = 30000;

std::string HelperPath() {
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "";
    std::string path(self, n);
    return path.substr(0, path.find_last_of('\\') + 1) + "hold_file.exe";
}

std::string EventName(const char* what) {
    static int serial = 0;
    char name[64];
    snprintf(name, sizeof name, "scrivora-hold-%lu-%d-%s", GetCurrentProcessId(), ++serial, what);
    return name;
}

}  // namespace

HeldFile::HeldFile(const std::string& path) {
    const std::string readyName = EventName("ready"), releaseName = EventName("release");
    ready_ = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    release_ = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
    if (ready_ == nullptr || release_ == nullptr) return;
    std::string command = "\"" + HelperPath() + "\" \"" + path + "\" " + readyName + " " + releaseName;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        return;
    }
    // Whichever comes first: the helper holds the file, or it ended.
    HANDLE waitFor[] = {ready_, process_.hProcess};
    held_ = WaitForMultipleObjects(2, waitFor, FALSE, kStartTimeoutMs) == WAIT_OBJECT_0;
}

int HeldFile::Release() {
    if (released_ || process_.hProcess == nullptr) return -1;
    released_ = true;
    SetEvent(release_);
    if (WaitForSingleObject(process_.hProcess, kEndTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

HeldFile::~HeldFile() {
    Release();
    if (process_.hProcess) CloseHandle(process_.hProcess);
    if (process_.hThread) CloseHandle(process_.hThread);
    if (ready_) CloseHandle(ready_);
    if (release_) CloseHandle(release_);
}
