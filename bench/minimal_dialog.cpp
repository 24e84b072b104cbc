// The yardstick for the setup program's start-up: the smallest dialog program
// this toolchain makes, built with the same static link options. It shows one
// modal dialog from a template in memory and waits to be closed, so that the
// time from process start to its window on screen can be set beside the
// wizard's under the same Wine.
#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// A dialog template: header, no menu, default class, the caption in UTF-16.
struct alignas(4) Template {
    DLGTEMPLATE header;
    WORD menu, windowClass;
    WCHAR caption[21];
    WORD padding;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    static Template dialog = {
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER, 0, 0, 0, 0, 300, 180},
        0, 0, L"Bench Minimal Dialog", 0};
    return static_cast<int>(
        DialogBoxIndirectParamA(instance, &dialog.header, nullptr, DialogProcedure, 0));
}
