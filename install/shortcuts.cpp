// Shortcuts; see shortcuts.h. The shell folders they go into are looked up
// in shell_folders.cpp; Program Manager's groups are made in
// program_manager.cpp.
//
// Shortcut files are written by
// the shell link object through IShellLinkA and IPersistFile. Each call
// opens and closes its own COM apartment, so nothing of COM outlives it and
// the caller needs no COM set-up of its own; the Start-menu entry holds one
// open for all its shortcuts (ShortcutApartment). Failures that the user must
// know about (no Start-menu entry) go through the system's message box.
#include "install/shortcuts.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>

#include "app/bounded.h"
#include "app/globals.h"
#include "app/path_chars.h"
#include "install/program_manager.h"
#include "install/install_answers.h"
#include "install/install_log.h"

namespace {

constexpr int kDesktopFilePartSize = 100;   // "\", the display name, ".lnk"

// Releases a COM interface when the scope ends.
template <typename T>
class ComRef {
public:
    explicit ComRef(T* pointer) : pointer_(pointer) {}
    ~ComRef() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return pointer_; }

private:
    T* pointer_;
};

// Appends text to the zero-terminated path in path[MAX_PATH]; 0 when it does
// not fit (the path is then empty).
int AppendToPath(char* path, const char* format, const char* text) {
    size_t used = strlen(path);
    if (!FormatBounded(path + used, MAX_PATH - used, format, text)) {
        path[0] = '\0';
        return 0;
    }
    return 1;
}

// Fills the link object and saves it; the HRESULT of the last step tried.
HRESULT SaveShortcut(const char* targetPath, const WCHAR* linkPath, const char* description) {
    IShellLinkA* rawLink = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&rawLink));
    if (FAILED(hr)) return hr;
    ComRef<IShellLinkA> link(rawLink);

    hr = link->SetPath(targetPath);
    if (FAILED(hr)) return hr;
    link->SetDescription(description);
    link->SetIconLocation(targetPath, 0);
    // The program starts in its own folder: the target path up to its last
    // backslash character (a Chinese folder name may hold 0x5C bytes).
    char workingFolder[MAX_PATH];
    if (CopyBounded(workingFolder, targetPath)) {
        const char* lastBackslash = FindLastBackslash(workingFolder);
        if (lastBackslash != nullptr) {
            workingFolder[lastBackslash - workingFolder] = '\0';
            link->SetWorkingDirectory(workingFolder);
        }
    }

    IPersistFile* rawFile = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile));
    if (FAILED(hr)) return hr;
    ComRef<IPersistFile> file(rawFile);
    return file->Save(linkPath, TRUE);
}

// One Start-menu shortcut: folder\<display name>.lnk to the target file in
// the install folder.
int CreateRowShortcut(const char* folder, const ShortcutRow& row) {
    if (row.targetFileName == nullptr) return 0;
    char linkPath[MAX_PATH];
    char targetPath[MAX_PATH];
    if (!FormatBounded(linkPath, "%s\\%s.lnk", folder, row.displayName) ||
        !FormatBounded(targetPath, "%s\\%s", g_installFolder, row.targetFileName)) {
        return 0;
    }
    return CreateShortcut(targetPath, linkPath, row.displayName);
}

}  // namespace

int CreateShortcut(const char* targetPath, const char* linkPath, const char* description) {
    if (strlen(targetPath) >= MAX_PATH) return 0;
    WCHAR wideLinkPath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wideLinkPath, MAX_PATH) == 0) return 0;

    // S_FALSE (an apartment was already open on this thread) still needs its
    // CoUninitialize; only a failure does not.
    if (FAILED(CoInitialize(nullptr))) return 0;
    HRESULT hr = SaveShortcut(targetPath, wideLinkPath, description);
    CoUninitialize();
    if (FAILED(hr)) {
        LogFailure("shortcut", linkPath, static_cast<DWORD>(hr));
        return 0;
    }
    LogLine("shortcut", linkPath);
    return 1;
}

int CreateStartMenuEntry(const char* folderName, const ShortcutRow* rows, int folderKind) {
    if (folderKind == kFolderPrograms && UsesProgramManager()) {
        if (CreateProgramGroup(folderName, rows)) {
            LogLine("Program Manager group", folderName);
            return 1;
        }
        NotifyInstallRow(kMsgStartMenuEntryFailed);
        return 0;
    }
    char folder[MAX_PATH];
    if (!LookUpShellFolder(folder, folderKind)) {
        NotifyInstallRow(kMsgStartMenuEntryFailed);
        return 0;
    }
    if (folderName != nullptr && folderName[0] != '\0') {
        if (!AppendToPath(folder, "\\%s", folderName)) {
            NotifyInstallRow(kMsgCannotCreateStartMenuFolder, folderName);
            return 0;
        }
        // Anything of that name, a file too, counts as there already.
        if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(folder, nullptr)) {
            NotifyInstallRow(kMsgCannotCreateStartMenuFolder, folder);
            return 0;
        }
    }

    // The last row alone decides the outcome; an earlier row that fails is
    // not reported to the user.
    int result = 1;
    {
        ShortcutApartment apartment;
        for (const ShortcutRow* row = rows; row != nullptr && row->displayName != nullptr; ++row) {
            result = CreateRowShortcut(folder, *row);
        }
    }
    if (result == 0) {
        NotifyInstallRow(kMsgStartMenuEntryFailed);
        return 0;
    }
    return result;
}

void CreateDesktopShortcut(const char* targetFileName, const char* displayName) {
    char targetPath[MAX_PATH];
    if (!FormatBounded(targetPath, "%s\\%s", g_installFolder, targetFileName)) return;
    char linkPath[MAX_PATH];
    // Nothing is made where the system has no desktop folder.
    if (!LookUpShellFolder(linkPath, kFolderDesktop) || !FolderExists(linkPath)) return;
    char filePart[kDesktopFilePartSize];
    if (!FormatBounded(filePart, "\\%s.lnk", displayName)) return;
    if (!AppendToPath(linkPath, "%s", filePart)) return;
    CreateShortcut(targetPath, linkPath, displayName);
}
