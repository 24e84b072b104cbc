/* A DLL that stands for one planted beside a downloaded setup program. It
   does nothing; the probe only asks whether Windows would load it. */
#include <windows.h>

__declspec(dllexport) int PlantedMarker(void) { return 42; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
