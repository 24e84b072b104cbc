// Entry point of the setup program. The command line and the show command are
// not read: the program has no options, and the wizard shows itself.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunSetup(instance);
}
