// Entry point of the setup program.
#include <windows.h>

#include "app/globals.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_instance = instance;
    return 0;
}
