// Keeping the program's windows on a small screen (640 x 480, a fresh
// Windows 95 with its standard VGA driver, many virtual machines).
#pragma once
#include <windows.h>

// Moves a top-level window by the least distance that brings it wholly into
// the work area (the screen less the taskbar, where the system keeps one); a
// window that already lies there stays where it is. A window wider or taller
// than the work area gets its right or bottom edge on it: the wizard's
// fields, its Cancel and Next and the close box stand at the right, the
// buttons of every window at the bottom.
void KeepOnScreen(HWND window);
