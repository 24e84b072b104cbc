// Self-removal. A running program cannot delete its own file on Windows, so
// the uninstaller removes itself the way uninstallers do:
//
// 1. The original copies itself into the temporary folder (an 8.3 name, so
//    that a Windows 95 command interpreter can name it too) and starts the
//    copy with an inheritable handle of its own process, then ends.
// 2. The copy waits on that handle until the original has ended, deletes the
//    original (clearing read-only first) and the install folder when nothing
//    else is left in it; a folder the user still keeps files in stays.
// 3. The copy cannot delete itself either. On the NT family it asks for its
//    deletion at the next start (MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT;
//    the 95 family's kernel exports it only to fail, so it is not asked). Where
//    that is not available or refused, it writes a small batch file beside
//    itself and starts the command interpreter on it, hidden and at idle
//    priority: the batch deletes the copy as soon as the copy has ended and
//    then deletes itself. This leaves nothing in the temporary folder and
//    needs no entry in WININIT.INI or the registry.
#include "uninstall/uninstall.h"

#include "app/bounded.h"
#include "app/globals.h"

namespace {

constexpr char kFinishSwitch[] = "/finish ";
constexpr DWORD kOriginalExitWaitMs = 60000;   // the original ends right after starting the copy
constexpr int kDeleteTries = 40;
constexpr DWORD kDeleteRetryMs = 250;
constexpr int kCopyNameTries = 64;
constexpr DWORD kCopyNameMask = 0xFFFFF;       // five hex digits after "ZKU"
constexpr int kCommandLineSize = 3 * MAX_PATH;
constexpr int kBatchSize = 4 * MAX_PATH;

// The path as the command interpreter of the running Windows reads it: the
// short form where the file system has one, in quotes only when it holds a
// space.
int ShellPath(char* out, size_t size, const char* path) {
    char shortPath[MAX_PATH];
    const char* chosen = path;
    DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    if (length > 0 && length < sizeof shortPath) chosen = shortPath;
    for (const char* p = chosen; *p != '\0'; ++p) {
        if (*p == ' ') return FormatBounded(out, size, "\"%s\"", chosen);
    }
    return CopyBounded(out, size, chosen);
}

// Deletes the file after clearing its attributes, retrying while it is still
// in use; a file that is not there counts as deleted.
int DeleteWithRetries(const char* path) {
    for (int i = 0; i < kDeleteTries; ++i) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) return 1;
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        if (DeleteFileA(path)) return 1;
        SetFileAttributesA(path, attributes);
        Sleep(kDeleteRetryMs);
    }
    return 0;
}

// Starts the hidden batch that deletes `self` once it has ended, then itself.
void StartCleanupBatch(const char* self) {
    char batchPath[MAX_PATH];
    if (!CopyBounded(batchPath, self)) return;
    int length = lstrlenA(batchPath);
    if (length < 4) return;
    CopyBounded(batchPath + length - 4, 5, ".BAT");   // ZKUxxxxx.EXE -> ZKUxxxxx.BAT

    HANDLE file = CreateFileA(batchPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char selfName[MAX_PATH];
    char batchName[MAX_PATH];
    char batch[kBatchSize];
    DWORD written = 0;
    int ok = ShellPath(selfName, sizeof selfName, self) && ShellPath(batchName, sizeof batchName, batchPath) &&
             FormatBounded(batch, "@echo off\r\n:again\r\ndel %s\r\nif exist %s goto again\r\ndel %s\r\n",
                           selfName, selfName, batchName) &&
             WriteFile(file, batch, lstrlenA(batch), &written, nullptr) &&
             written == static_cast<DWORD>(lstrlenA(batch));
    CloseHandle(file);
    if (!ok) {
        DeleteFileA(batchPath);
        return;
    }

    char interpreter[MAX_PATH];
    DWORD found = GetEnvironmentVariableA("COMSPEC", interpreter, sizeof interpreter);
    if (found == 0 || found >= sizeof interpreter) {
        CopyBounded(interpreter, g_isNtPlatform ? "cmd.exe" : "command.com");
    }
    char commandLine[kCommandLineSize];
    if (!FormatBounded(commandLine, "%s /c %s", interpreter, batchName)) {
        DeleteFileA(batchPath);
        return;
    }
    char folder[MAX_PATH];
    CopyBounded(folder, self);
    if (char* separator = LastSeparator(folder)) separator[1] = '\0';

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, IDLE_PRIORITY_CLASS, nullptr, folder,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        DeleteFileA(batchPath);
    }
}

void RemoveSelf() {
    char self[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self) return;
    if (g_isNtPlatform && MoveFileExA(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return;
    StartCleanupBatch(self);
}

// Reads a decimal number at *p and moves past it; 0 when there is none.
ULONG_PTR ReadNumber(const char*& p) {
    ULONG_PTR value = 0;
    while (*p >= '0' && *p <= '9') value = value * 10 + static_cast<ULONG_PTR>(*p++ - '0');
    return value;
}

// The arguments after the program name of a command line.
const char* SkipProgramName(const char* p) {
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p != '\0' && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

}  // namespace

int StartFinishingCopy(const char* self) {
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return 0;

    char copy[MAX_PATH];
    bool copied = false;
    for (int i = 0; i < kCopyNameTries && !copied; ++i) {
        if (!FormatBounded(copy, "%sZKU%05lX.EXE", temp,
                           static_cast<unsigned long>((GetTickCount() + i) & kCopyNameMask))) {
            return 0;
        }
        copied = CopyFileA(self, copy, TRUE) != 0;   // never over a file of another program
    }
    if (!copied) return 0;
    // The installed file is read-only, and so is its copy.
    SetFileAttributesA(copy, FILE_ATTRIBUTE_NORMAL);

    HANDLE me = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &me, SYNCHRONIZE,
                         TRUE, 0)) {
        DeleteFileA(copy);
        return 0;
    }
    char commandLine[kCommandLineSize];
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // The copy starts in the temporary folder, so that its current folder
    // does not keep the install folder from being removed.
    bool started = FormatBounded(commandLine, "\"%s\" %s%lu %s", copy, kFinishSwitch,
                                 static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(me)), self) &&
                   CreateProcessA(copy, commandLine, nullptr, nullptr, TRUE, 0, nullptr, temp, &startup,
                                  &process);
    CloseHandle(me);
    if (!started) {
        DeleteFileA(copy);
        return 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

int RunAsFinishingCopy(const char* commandLine) {
    const char* p = SkipProgramName(commandLine);
    for (const char* s = kFinishSwitch; *s != '\0'; ++s, ++p) {
        if (*p != *s) return 0;
    }
    HANDLE original = reinterpret_cast<HANDLE>(ReadNumber(p));
    if (*p != ' ') return 0;
    char originalPath[MAX_PATH];
    if (!CopyBounded(originalPath, p + 1)) return 1;

    if (original != nullptr) {
        WaitForSingleObject(original, kOriginalExitWaitMs);
        CloseHandle(original);
    }
    DeleteWithRetries(originalPath);
    if (char* separator = LastSeparator(originalPath)) {
        *separator = '\0';
        RemoveDirectoryA(originalPath);   // fails, as it should, while the user's files are in it
    }
    RemoveSelf();
    return 1;
}
