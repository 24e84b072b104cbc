// Test helpers for the wizard: creating it from the real template 114 the way
// start-up does, pumping its messages, and reading its controls back.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Sets the process-wide state to its start values (with the given system
// language code), loads the wizard icon and creates the wizard. Also sets
// g_wizardWindow. Returns the dialog, or null.
HWND CreateWizardForTest(int systemLanguage = 1);
// Destroys the wizard made above and clears g_wizardWindow.
void DestroyWizardForTest();

// Handles every message waiting in this thread's queue, through the wizard's
// dialog manager where it applies, as the program's loop does.
void PumpMessages();

// Whether a control has WS_VISIBLE (its own flag, whatever its parent's).
bool IsShown(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// The identifiers of every page control of the wizard that is shown, sorted.
std::vector<int> ShownPageControls(HWND dialog);

// A mouse click on a button, as the button class handles it (BM_CLICK).
void Click(HWND dialog, int id);
// A command as the wizard receives it from a control.
void Command(HWND dialog, int id);

// Text and item data of an item of a list box (or combo box).
std::string ListItemText(HWND dialog, int id, int index, bool combo);
std::string WindowText(HWND window);
