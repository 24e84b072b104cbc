// Where the setup program lets Windows look for DLLs.
//
// A setup program is usually started from a downloads folder, next to
// whatever else was downloaded there. Windows looks for a DLL named without a
// path in the program's own folder first, and on older systems in the current
// folder too, so a planted "comctl32.dll" or a DLL some system component loads
// by name would run with the installer's rights. These functions narrow the
// search as far as the running Windows allows; every one of them is looked up
// at run time, so the program still starts on Windows 95 and NT 3.51, which
// have none of them.
#pragma once
#include <windows.h>

// A procedure of the module by name, as the type it has; null when the
// module has no such procedure. The cast goes through the generic procedure
// type, the documented way to turn GetProcAddress's result into a function.
template <typename Proc>
Proc ProcOf(HMODULE module, const char* name) {
    FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc));
}

// A procedure of KERNEL32 that not every Windows has, looked up by name.
template <typename Proc>
Proc KernelProc(const char* name) {
    return ProcOf<Proc>(GetModuleHandleA("kernel32.dll"), name);
}

// Limits the search for DLLs loaded by name to the system folder where the
// system can do that (Windows 8, and 7 or Vista with the search update), and
// takes the current folder out of the search where only that is possible
// (XP SP1 on). Call it first, before anything loads a DLL.
void RestrictDllSearch();

// Takes the current folder out of the DLL search order (SetDllDirectoryA
// with an empty string). Returns false where the system has no such call.
bool RemoveCurrentFolderFromDllSearch();

// Loads a system DLL from the system folder by its full path, so that a file
// of the same name in the program's folder is never taken instead. Returns
// null when the path does not fit or the DLL cannot be loaded.
HMODULE LoadSystemLibrary(const char* fileName);

// Registers the common control classes (the progress bar) through the
// system's own comctl32, loaded by full path rather than imported: a static
// import would be looked for in the program's folder before the loader ever
// reaches the system folder. Returns false when it could not.
bool InitCommonControlsFromSystem();
