// Narrowing the DLL search; see dll_search.h.
#include "app/dll_search.h"

#include "app/bounded.h"
#include "app/path_chars.h"

namespace {

// Not in the headers of every SDK this builds with, and not on every Windows
// it runs on, so defined here and looked up at run time.
constexpr DWORD kSearchSystem32 = 0x00000800;   // LOAD_LIBRARY_SEARCH_SYSTEM32
using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryProc = BOOL(WINAPI*)(LPCSTR);
using InitCommonControlsProc = void(WINAPI*)();

}  // namespace

bool RemoveCurrentFolderFromDllSearch() {
    auto setDllDirectory = KernelProc<SetDllDirectoryProc>("SetDllDirectoryA");
    return setDllDirectory != nullptr && setDllDirectory("");
}

void RestrictDllSearch() {
    auto setDefault = KernelProc<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    if (setDefault != nullptr) setDefault(kSearchSystem32);
    // Also where the call above worked: it leaves alone DLLs loaded with
    // explicit search flags, and the empty DLL folder costs nothing.
    RemoveCurrentFolderFromDllSearch();
}

HMODULE LoadSystemLibrary(const char* fileName) {
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    char path[MAX_PATH];
    if (!FormatBounded(path, "%s%s%s", folder, SeparatorAfter(folder), fileName)) return nullptr;
    return LoadLibraryA(path);
}

bool InitCommonControlsFromSystem() {
    // Kept loaded for the life of the process: the wizard's progress bar
    // lives in it.
    HMODULE controls = LoadSystemLibrary("comctl32.dll");
    if (controls == nullptr) return false;
    auto init = ProcOf<InitCommonControlsProc>(controls, "InitCommonControls");
    if (init == nullptr) return false;
    init();
    return true;
}
