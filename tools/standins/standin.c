/* A stand-in for one program of the Zelko Scrivora edition.
 *
 * The setup program installs five programs of the product. The real ones are
 * not ours, so the build makes these instead: small Win32 programs, built with
 * the product's own toolchain, that open one window saying which program they
 * stand in for and that they are not it, and end when the window is closed.
 * They do nothing else: no files, no registry, no network.
 *
 * STANDIN_ID (see standin.h) chooses the program. Written in plain C against
 * the ANSI interface so that it runs on every Windows the setup program
 * supports, from Windows 95 and NT on.
 */
#include <windows.h>

#include "standin.h"

static const char kClassName[] = "ScrivoraStandIn";
static const char kTitle[] = STANDIN_FILE " - stand-in";

static const char* const kLines[] = {
    STANDIN_FILE,
    "",
    "This program stands in for " STANDIN_ROLE,
    "of the Zelko Scrivora edition.",
    "",
    "The setup program installed it in place of the real program,",
    "which is not part of this package. It does nothing but show",
    "this window. Close the window to end it.",
};

/* The same notice in Chinese, drawn with the Unicode text call so that it
 * reads correctly wherever a Chinese font is installed. */
static const WCHAR kChineseLine[] = L"这是替身程序，不是产品中的原程序。";

static void Paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    int line = tm.tmHeight + tm.tmExternalLeading;
    int y = 16;
    SetBkMode(dc, TRANSPARENT);
    for (unsigned i = 0; i < sizeof kLines / sizeof kLines[0]; ++i) {
        TextOutA(dc, 16, y, kLines[i], lstrlenA(kLines[i]));
        y += line;
    }
    y += line;
    TextOutW(dc, 16, y, kChineseLine, (int)(sizeof kChineseLine / sizeof kChineseLine[0]) - 1);
    SelectObject(dc, old);
    EndPaint(window, &ps);
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc))
        return 1;
    HWND window = CreateWindowA(kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                460, 260, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
