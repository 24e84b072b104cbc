// The setup program's entry point. The program carries no C runtime, so
// nothing runs before this: no command-line parsing (it reads none) and no
// other start-up code. Constructors of globals, should any code bring one,
// run here in the order the C runtime would run them; a global that needs a
// destructor does not link at all (there is no atexit).
#include <windows.h>

// The linker's table of constructors: -1, the constructors, then null.
extern "C" void (*__CTOR_LIST__[])();

namespace {

void RunConstructors() {
    int count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) ++count;
    for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

}  // namespace

extern "C" __attribute__((force_align_arg_pointer)) void SetupEntry() {
    RunConstructors();
    ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT)));
}
