// The install sequence behind Install (Next on the last page of the wizard).
// It runs inside the wizard's command handling, on the one thread, and ends
// the program by setting the wizard page to -1, with the exit code
// (app/exit_codes.h) in g_exitCode.
#pragma once
#include <windows.h>

void RunInstallSequence(HWND wizard);
