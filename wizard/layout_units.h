// The wizard, the message box and the folder chooser were laid out in the
// dialog units of their template font, MS Sans Serif 8. A Chinese, Japanese
// or Korean Windows draws that font with its own face, whose dialog units
// differ (its Latin letters are narrower), and would shrink every control
// while the glyph cells keep their size, clipping the captions. These
// dialogs therefore place their controls in the units the layout was made
// for, at the screen's DPI, whatever face the system picked.
#pragma once
#include <windows.h>

// Horizontal and vertical dialog base units (pixels per 4 and per 8 dialog units).
struct DialogUnits {
    int x;
    int y;
};

// The units of the layout's font at `dpi`. Plain arithmetic, checked natively.
DialogUnits LayoutUnitsForDpi(int dpi);
// Whether the system drew the dialog's font with a face of a double-byte
// character set, whose units are not the layout's.
bool DialogFontIsFarEastern(HWND dialog);
// Called from WM_INITDIALOG before anything is placed from the controls'
// sizes: where the dialog's font is a far-eastern face and its units differ
// from the layout's, scales the dialog and every control to the layout's
// units. Otherwise nothing moves.
void FitToLayoutUnits(HWND dialog);
