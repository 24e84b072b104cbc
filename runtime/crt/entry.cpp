// The setup program's entry point. The program carries no C runtime, so
// nothing runs before this: no start-up code, no constructors of globals (the
// program has none that need code), no command-line parsing (it reads none).
#include <windows.h>

extern "C" __attribute__((force_align_arg_pointer)) void SetupEntry() {
    ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT)));
}
