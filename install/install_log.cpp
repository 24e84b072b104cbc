// The run's log; see install_log.h.
#include "install/install_log.h"

#include "app/bounded.h"

namespace {

// Null while no log is open (not INVALID_HANDLE_VALUE, so that the program
// carries no initialised data for it).
HANDLE g_log = nullptr;
// A line holds at most two paths and a few words.
constexpr int kLogLineSize = 2 * MAX_PATH + 64;

// Writes the text and a line end straight to the file: no buffer of ours
// holds a line back.
void WriteLine(const char* text) {
    if (g_log == nullptr) return;
    DWORD written;
    WriteFile(g_log, text, lstrlenA(text), &written, nullptr);
    WriteFile(g_log, "\r\n", 2, &written, nullptr);
}

}  // namespace

bool OpenInstallLog(const char* path) {
    CloseInstallLog();
    HANDLE log = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return false;
    g_log = log;
    SetFilePointer(g_log, 0, nullptr, FILE_END);
    return true;
}

void CloseInstallLog() {
    if (g_log != nullptr) CloseHandle(g_log);
    g_log = nullptr;
}

bool InstallLogOpen() { return g_log != INVALID_HANDLE_VALUE; }

void LogLine(const char* what, const char* text) {
    char line[kLogLineSize];
    WriteLine(text == nullptr ? what : FormatBounded(line, "%s %s", what, text) ? line : what);
}

void LogNumber(const char* what, long number, const char* text) {
    char line[kLogLineSize];
    WriteLine(FormatBounded(line, text == nullptr ? "%s %d" : "%s %d %s", what, static_cast<int>(number), text) ? line
                                                                                                     : what);
}

void LogFailure(const char* what, const char* path, DWORD error) {
    char line[kLogLineSize];
    WriteLine(FormatBounded(line, "failed: %s, error %d: %s", what, static_cast<int>(error), path) ? line : what);
}
