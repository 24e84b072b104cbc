// The folder chooser: the OPENFILENAMEA that turns the common file dialog into
// a folder picker, and the hook that paints its bilingual controls and takes
// the chosen folder on OK.
#include "wizard/folder_chooser.h"

#include <commdlg.h>
#include <dlgs.h>

#include <cstddef>

#include "app/bounded.h"
#include "app/globals.h"
#include "app/path_chars.h"
#include "resources/resource_ids.h"
#include "wizard/layout_units.h"
#include "wizard/on_screen.h"
#include "wizard/owner_draw.h"

namespace {

// OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE |
// OFN_PATHMUSTEXIST, without OFN_EXPLORER: the old-style dialog, whose custom
// template replaces the whole dialog. OFN_NOCHANGEDIR puts the process's
// current directory back when the chooser closes.
constexpr DWORD kChooserFlags = 0x86C;
static_assert(kChooserFlags == (OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK |
                                OFN_ENABLETEMPLATE | OFN_PATHMUSTEXIST),
              "chooser flags");

// The structure size every Windows from the 95 family on accepts: the
// structure without the three fields Windows 2000 added at its end (76 bytes
// in a 32-bit program).
constexpr DWORD kOpenFileNameSize = offsetof(OPENFILENAMEA, pvReserved);
static_assert(sizeof(void*) != 4 || kOpenFileNameSize == 76, "the Windows 95 structure size");

// Cancel gets the bilingual caption through the owner-drawn painter; the
// focus starts in the directory list. The chooser opens where its template
// puts it beside the wizard, which on a small screen may be off it.
BOOL OnChooserInit(HWND chooser) {
    FitToLayoutUnits(chooser);
    KeepOnScreen(chooser);
    HWND cancel = GetDlgItem(chooser, IDCANCEL);
    SetWindowLongA(cancel, GWL_STYLE, GetWindowLongA(cancel, GWL_STYLE) | BS_OWNERDRAW);
    SetFocus(GetDlgItem(chooser, lst2));
    return TRUE;
}

BOOL OnChooserDrawItem(HWND chooser, const DRAWITEMSTRUCT* item) {
    switch (item->CtlID) {
    case IDCANCEL:
    case IDC_CHOOSER_DIRS_LABEL:
    case IDC_CHOOSER_DRIVES_LABEL:
        PaintOwnerDrawButton(item, chooser);
        return TRUE;
    default:
        return FALSE;  // the directory and drive lists are the common dialog's
    }
}

// OK takes the folder that is open in the directory list, without one trailing
// backslash, so the root of drive C gives "C:". When the current directory
// cannot be read (or does not fit), the common dialog's own OK handling runs
// and the install folder is left as it was.
BOOL OnChooserOk(HWND chooser) {
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) {
        return FALSE;
    }
    RemoveTrailingBackslash(folder);
    if (!CopyBounded(g_installFolder, folder)) {
        return FALSE;
    }
    EndDialog(chooser, 1);
    return TRUE;
}

}  // namespace

UINT_PTR CALLBACK FolderChooserHook(HWND chooser, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnChooserInit(chooser);
    case WM_DRAWITEM:
        return OnChooserDrawItem(chooser, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        return LOWORD(wParam) == IDOK ? OnChooserOk(chooser) : FALSE;
    default:
        return FALSE;
    }
}

namespace {

// The old-style dialog makes every folder opened in its list the process's
// current directory. OFN_NOCHANGEDIR is meant to undo that, but when the hook
// ends the dialog itself (OK) or the dialog is cancelled not every
// implementation does, so the chooser puts the current directory back itself:
// browsing leaves no trace, and every Browse starts from the same folder.
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper() {
        DWORD length = GetCurrentDirectoryA(sizeof folder_, folder_);
        kept_ = length > 0 && length < sizeof folder_;
    }
    ~CurrentDirectoryKeeper() {
        if (kept_) {
            SetCurrentDirectoryA(folder_);
        }
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    char folder_[MAX_PATH];
    bool kept_ = false;
};

}  // namespace

void BrowseForInstallFolder(HWND wizard) {
    CurrentDirectoryKeeper keeper;
    // The common dialog may write a file name here; the chooser never uses it.
    char fileName[MAX_PATH] = "";
    OPENFILENAMEA chooser = {};
    chooser.lStructSize = kOpenFileNameSize;
    chooser.hwndOwner = wizard;
    chooser.hInstance = g_instance;  // the module that holds template 168
    chooser.lpstrFile = fileName;
    chooser.nMaxFile = 128;
    chooser.Flags = kChooserFlags;
    chooser.lpfnHook = FolderChooserHook;
    chooser.lpTemplateName = MAKEINTRESOURCEA(IDD_FOLDER_CHOOSER);
    if (GetOpenFileNameA(&chooser)) {
        SetDlgItemTextA(wizard, IDC_FOLDER_PATH, g_installFolder);
    }
}
