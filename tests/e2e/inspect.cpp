// A small look-in tool for the end-to-end test. It runs in the same Wine
// prefix as the setup program and reports what a user's eyes would find: where
// a control is on the screen (so the test can click it with the real mouse),
// whether it is visible, and what a shortcut file points at. It never sends
// input or messages to the setup program.
//
//   inspect rect <window caption> <control id>   -> "x y width height" on the screen
//   inspect visible <window caption> <control id> -> "1" or "0"
//   inspect text <window caption> <control id>   -> the control's text
//   inspect itemheight <window caption> <combo id> -> height of a list item
//   inspect offscreen <window caption>           -> one line per visible control (and
//                                                   "window" for the window itself) not
//                                                   wholly on the screen: its id and rectangle
//   inspect watch <window caption> <stop caption> -> sends WM_NULL to the window again and
//                                                   again, as Windows does to tell a hung
//                                                   program, until a window with the stop
//                                                   caption shows; prints the longest
//                                                   answer time in milliseconds
//   inspect lnk <shortcut path>                  -> target, working folder,
//                                                   description, icon path, icon index
//   inspect controls <window caption>            -> one line per visible control:
//                                                   "id x y width height" on the screen
//   inspect windows <window caption> <control id> -> one line per top-level window with
//                                                   the caption: whether it is visible,
//                                                   whether it has the control, and the
//                                                   control's text
//   inspect hold <file> <flag file> <seconds>    -> holds the file open without
//                                                   sharing, as a program that has it in use,
//                                                   creates the flag file once it does, and
//                                                   lets go after the given seconds
// A caption names the visible top-level window of that caption that has the
// control, before any hidden one or one without it.
// Exit code 1 when the window, control or shortcut is not found.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The top-level windows with a caption, and the one a user would mean.
struct WindowSearch {
    const char* caption;
    int id;                  // a control the window must have; 0 for none
    bool list;               // print every window with the caption
    HWND visibleWithControl = nullptr;
    HWND withControl = nullptr;
    HWND first = nullptr;
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    // GetWindowTextA reads the caption of another process's window without
    // sending it a message.
    char caption[1024] = "";
    GetWindowTextA(window, caption, sizeof caption);
    // As FindWindowA compares.
    if (lstrcmpiA(caption, search->caption) != 0) return TRUE;
    HWND control = search->id == 0 ? window : GetDlgItem(window, search->id);
    bool visible = IsWindowVisible(window) != FALSE;
    if (search->first == nullptr) search->first = window;
    if (control != nullptr && search->withControl == nullptr) search->withControl = window;
    if (control != nullptr && visible && search->visibleWithControl == nullptr) search->visibleWithControl = window;
    if (search->list) {
        char text[1024] = "";
        DWORD_PTR result = 0;
        if (control != nullptr && control != window) {
            SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                SMTO_ABORTIFHUNG, 5000, &result);
        }
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        printf("%p process %lu class %s visible %d control %s text '%s'\n", static_cast<void*>(window),
               static_cast<unsigned long>(process), className, visible ? 1 : 0,
               control != nullptr ? "yes" : "no", text);
    }
    return TRUE;
}

// The top-level window with the caption that the test means: a visible one
// with control `id` (any visible one for 0) before any other. FindWindowA
// alone answers the first of that caption in the Z order, which may be a
// hidden window, or one without the control, of this or another program.
HWND FindTopLevel(const char* caption, int id) {
    WindowSearch search = {caption, id, false};
    EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&search));
    if (search.visibleWithControl != nullptr) return search.visibleWithControl;
    return search.withControl != nullptr ? search.withControl : search.first;
}

HWND FindControl(const char* caption, const char* idText) {
    int id = atoi(idText);
    HWND window = FindTopLevel(caption, id);
    if (window == nullptr) return nullptr;
    return id == 0 ? window : GetDlgItem(window, id);
}

// Every top-level window with the caption, one a line, with its control
// `id` and that control's text: what the test looked at when it gave up.
int ListWindows(const char* caption, const char* idText) {
    WindowSearch search = {caption, atoi(idText), true};
    EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&search));
    return search.first != nullptr ? 0 : 1;
}

int PrintRect(HWND control) {
    RECT r;
    if (!GetWindowRect(control, &r)) return 1;
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

// Whether r lies wholly on the screen.
bool OnScreen(const RECT& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

void PrintIfOffScreen(const char* name, HWND window) {
    RECT r;
    if (GetWindowRect(window, &r) && !OnScreen(r)) {
        printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
    }
}

BOOL CALLBACK PrintChildIfOffScreen(HWND child, LPARAM) {
    if (IsWindowVisible(child)) {
        char id[16];
        snprintf(id, sizeof id, "%d", GetDlgCtrlID(child));
        PrintIfOffScreen(id, child);
    }
    return TRUE;
}

BOOL CALLBACK PrintVisibleChild(HWND child, LPARAM) {
    RECT r;
    if (IsWindowVisible(child) && GetWindowRect(child, &r)) {
        printf("%d %ld %ld %ld %ld\n", GetDlgCtrlID(child), r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    return TRUE;
}

int PrintControls(const char* caption) {
    HWND window = FindTopLevel(caption, 0);
    if (window == nullptr) return 1;
    EnumChildWindows(window, PrintVisibleChild, 0);
    return 0;
}

// Rectangles in real screen pixels whatever the DPI: the tool is as aware of
// the DPI as the setup program, so that Wine maps nothing between them.
void BeDpiAware() {
    using SetAware = BOOL(WINAPI*)();
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
        if (auto aware = reinterpret_cast<SetAware>(GetProcAddress(user, "SetProcessDPIAware"))) aware();
    }
}

int PrintOffScreen(const char* caption) {
    HWND window = FindTopLevel(caption, 0);
    if (window == nullptr) return 1;
    PrintIfOffScreen("window", window);
    EnumChildWindows(window, PrintChildIfOffScreen, 0);
    return 0;
}

// The longest time the window took to answer, from the first answer until a
// window with the stop caption is visible (or the window is gone).
int WatchAnswers(const char* caption, const char* stopCaption) {
    HWND window = nullptr;
    for (int i = 0; i < 600 && window == nullptr; ++i) {
        window = FindTopLevel(caption, 0);
        if (window == nullptr) Sleep(100);
    }
    if (window == nullptr) return 1;
    DWORD longest = 0;
    int answers = 0;
    DWORD start = GetTickCount();
    for (;;) {
        HWND stop = FindTopLevel(stopCaption, 0);
        if ((stop != nullptr && IsWindowVisible(stop)) || !IsWindow(window)) break;
        DWORD_PTR result = 0;
        DWORD before = GetTickCount();
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) break;
        DWORD took = GetTickCount() - before;
        if (took > longest) longest = took;
        // The slow answers, with the wall-clock time they ended (Unix
        // milliseconds, to set beside the installed files' times), tell what
        // the wizard was doing.
        if (took >= 250) {
            FILETIME now;
            GetSystemTimeAsFileTime(&now);
            unsigned long long unixMs =
                ((static_cast<unsigned long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime) -
                 116444736000000000ULL) / 10000;
            fprintf(stderr, "%lu ms at %lu ms, ending at %llu\n", static_cast<unsigned long>(took),
                    static_cast<unsigned long>(before - start), unixMs);
        }
        ++answers;
        Sleep(20);
    }
    printf("%lu ms longest of %d answers\n", static_cast<unsigned long>(longest), answers);
    return 0;
}

int PrintShortcut(const char* path) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    int result = 1;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR widePath[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
            if (SUCCEEDED(file->Load(widePath, STGM_READ))) {
                char target[MAX_PATH] = "", folder[MAX_PATH] = "", description[MAX_PATH] = "",
                     icon[MAX_PATH] = "";
                int iconIndex = -1;
                link->GetPath(target, MAX_PATH, nullptr, 0);
                link->GetWorkingDirectory(folder, MAX_PATH);
                link->GetDescription(description, MAX_PATH);
                link->GetIconLocation(icon, MAX_PATH, &iconIndex);
                printf("target=%s\nfolder=%s\ndescription=%s\nicon=%s,%d\n", target, folder,
                       description, icon, iconIndex);
                result = 0;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

// Holds `path` open with share mode 0 for `seconds`; the flag file tells the
// test that the hold has begun.
int HoldFile(const char* path, const char* flagPath, const char* seconds) {
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    HANDLE flag = CreateFileA(flagPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (flag != INVALID_HANDLE_VALUE) CloseHandle(flag);
    Sleep(static_cast<DWORD>(atoi(seconds)) * 1000);
    CloseHandle(file);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    BeDpiAware();
    if (argc == 3 && strcmp(argv[1], "controls") == 0) return PrintControls(argv[2]);
    if (argc == 3 && strcmp(argv[1], "lnk") == 0) return PrintShortcut(argv[2]);
    if (argc == 5 && strcmp(argv[1], "hold") == 0) return HoldFile(argv[2], argv[3], argv[4]);
    if (argc == 3 && strcmp(argv[1], "offscreen") == 0) return PrintOffScreen(argv[2]);
    if (argc == 4 && strcmp(argv[1], "watch") == 0) return WatchAnswers(argv[2], argv[3]);
    if (argc == 4 && strcmp(argv[1], "windows") == 0) return ListWindows(argv[2], argv[3]);
    if (argc != 4) {
        fprintf(stderr, "usage: inspect rect|visible|text|itemheight <caption> <id> | lnk <path>\n");
        return 2;
    }
    HWND control = FindControl(argv[2], argv[3]);
    if (strcmp(argv[1], "visible") == 0) {
        printf("%d\n", control != nullptr && IsWindowVisible(control) ? 1 : 0);
        return 0;
    }
    if (control == nullptr) return 1;
    if (strcmp(argv[1], "rect") == 0) return PrintRect(control);
    if (strcmp(argv[1], "itemheight") == 0) {
        printf("%ld\n", static_cast<long>(SendMessageA(control, CB_GETITEMHEIGHT, 0, 0)));
        return 0;
    }
    if (strcmp(argv[1], "text") == 0) {
        // GetWindowTextA does not ask a window of another process for its
        // text; WM_GETTEXT does.
        char text[1024] = "";
        SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        printf("%s\n", text);
        return 0;
    }
    return 2;
}
