// Start-up and teardown of the setup program: everything WinMain does.
#pragma once
#include <windows.h>

// Detects the environment, makes the fonts, creates the wizard, runs the
// message loop and releases everything again. Returns the process exit code:
// 0 after a normal end (and when the glyph font cannot be put into device
// contexts, which ends quietly without a wizard); 1 when the glyph font has no
// memory or does not inflate, or the wizard cannot be created.
int RunSetup(HINSTANCE instance);
