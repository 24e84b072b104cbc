// Asks Windows to load DLLs by name, as system components do, after one of
// the start-up's ways of narrowing the DLL search, and prints what it found:
//   dll_probe.exe none|current|restricted
// prints "app=<loaded|refused> cwd=<loaded|refused> comctl32=<system|elsewhere|failed>".
// "planted_app.dll" lies beside the probe, "planted_cwd.dll" in the current
// folder; comctl32 is loaded the way the start-up loads it.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/dll_search.h"

namespace {

const char* LoadResult(const char* name) {
    return LoadLibraryA(name) != nullptr ? "loaded" : "refused";
}

// Whether the comctl32 the start-up would use is the one in the system folder.
const char* CommonControlsSource() {
    if (!InitCommonControlsFromSystem()) return "failed";
    HMODULE controls = GetModuleHandleA("comctl32.dll");
    char path[MAX_PATH] = "", system[MAX_PATH] = "";
    if (controls == nullptr || GetModuleFileNameA(controls, path, MAX_PATH) == 0 ||
        GetSystemDirectoryA(system, MAX_PATH) == 0) {
        return "failed";
    }
    size_t length = strlen(system);
    bool inSystem = _strnicmp(path, system, length) == 0 && path[length] == '\\' &&
                    strchr(path + length + 1, '\\') == nullptr;
    return inSystem ? "system" : "elsewhere";
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (strcmp(mode, "current") == 0) {
        if (!RemoveCurrentFolderFromDllSearch()) return 2;
    } else if (strcmp(mode, "restricted") == 0) {
        RestrictDllSearch();
    } else if (strcmp(mode, "none") != 0) {
        return 2;
    }
    const char* app = LoadResult("planted_app.dll");
    const char* cwd = LoadResult("planted_cwd.dll");
    printf("app=%s cwd=%s comctl32=%s\n", app, cwd, CommonControlsSource());
    return 0;
}
