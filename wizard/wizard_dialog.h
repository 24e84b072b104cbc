// The wizard: one modeless dialog (template 114) whose controls form four
// pages, created by start-up and driven by the program's message loop.
#pragma once
#include <windows.h>

// Dialog procedure of template 114. Handles WM_INITDIALOG, WM_MEASUREITEM,
// WM_DRAWITEM and WM_COMMAND; every command returns FALSE.
INT_PTR CALLBACK WizardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
