// See on_screen.h.
#include "wizard/on_screen.h"

#include <algorithm>

namespace {

// The position along one axis that keeps [position, position + size) within
// [low, high) where it fits, else ends it at high.
int FitAxis(int position, int size, int low, int high) {
    return std::min(std::max(position, low), high - size);
}

}  // namespace

void KeepOnScreen(HWND window) {
    RECT area;
    // Windows NT 3.51 has no work area and answers FALSE: the whole screen.
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    RECT r;
    GetWindowRect(window, &r);
    SetWindowPos(window, nullptr, FitAxis(r.left, r.right - r.left, area.left, area.right),
                 FitAxis(r.top, r.bottom - r.top, area.top, area.bottom), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
