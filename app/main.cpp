// Entry point of the setup program. The command line is read whole through
// GetCommandLineA (app/command_line.h); the show command is not read: the
// wizard shows itself.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunSetup(instance);
}
