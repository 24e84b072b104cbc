// The program's message loop and its Enter rule.
//
// The wizard is a modeless dialog, so the program runs the loop itself. It
// ends as soon as the wizard page turns negative (Cancel, or the end of the
// install), before another message is fetched, so nothing queued after the
// decision to end is handled.
#pragma once
#include <windows.h>

// What Enter does. When the focused window is a push button or an owner-drawn
// button, its own command is posted to the wizard and 1 is returned: the key
// message is consumed. In every other case (no focus, not a button, a check
// box, three-state box or radio button) the default button's command (Next,
// Install on the last page) is posted and 0 is returned: the key message then
// goes on to the dialog manager like any other.
int ApplyEnterRule(HWND wizard);

// Runs the loop for g_wizardWindow until the wizard page is negative, WM_QUIT
// arrives or GetMessageA fails.
void RunMessageLoop();
