// The painters of the program's own controls. Windows never draws a Chinese
// caption of this program: push buttons and labels are owner-drawn buttons,
// the agreement list and the language list are owner-drawn, and the wizard's
// three check boxes are subclassed. Each caption is chosen by control
// identifier (captions.h) and drawn through the glyph font, so the interface
// reads correctly on a Windows without Chinese support.
#pragma once
#include <windows.h>

// Paints an owner-drawn button: a push button with a 3-D bevel (and the black
// frame of the default button 1001), or a flat label; then the focus
// rectangle. Owner-drawn controls of other types are left alone, and so is
// 1020. Called from WM_DRAWITEM of the wizard, the message box and the folder
// chooser; `owner` is not used.
void PaintOwnerDrawButton(const DRAWITEMSTRUCT* item, HWND owner);

// Paints one item of the agreement list 1019 (isCombo 0) or of the language
// list 1031 (isCombo 1) of `dialog`. A selected combo item is drawn in the
// highlight colours; an empty list gets its item filled without text.
void PaintListItem(int controlId, int isCombo, const DRAWITEMSTRUCT* item, HWND dialog);

// Paints a subclassed check box (or radio button) into dc: the face, the box
// with its tick, the caption one box width to the right, and the focus
// rectangle around the caption.
void PaintCheckBox(HWND checkBox, HDC dc);

// Window procedure of the subclassed check boxes 1004, 1007 and 1008: paints
// them itself and hands every other message to g_previousButtonProc.
LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The button class procedure that the subclassing replaced. The wizard stores
// it when it subclasses the boxes; all three are standard buttons, so one
// value serves them all.
extern WNDPROC g_previousButtonProc;
