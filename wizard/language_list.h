// The language list on the wizard's last page: the language the installed
// product will use. Each entry carries its UI language code as item data,
// which the install reads back when Install is pressed.
#pragma once
#include <windows.h>

// Fills combo box 1031: the entry of the current UI language first, the
// others after it in table order, and selects the first.
void FillLanguageList(HWND dialog);
