// One at a time; see one_at_a_time.h.
#include "app/one_at_a_time.h"

#include <windows.h>

namespace {

// In the session's namespace: one per logged-on user's desktop, where the
// windows to bring forward are.
constexpr char kMutexName[] = "ZelkoScrivoraSetupOrUninstall";
// The captions of the wizard and of the message box (dialogs 114 and 112).
constexpr const char* kRunningCaptions[] = {"Varnelo Scrivora Installer", "Morvalen Install Message"};

}  // namespace

bool TakeOneAtATime() {
    // The handle stays open until the process ends, which releases it.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    // Without a mutex at all (no such object on the system) the run goes on.
    return mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}

void ShowTheRunningOne() {
    for (const char* caption : kRunningCaptions) {
        HWND window = FindWindowA(nullptr, caption);
        if (window != nullptr) {
            SetForegroundWindow(window);
            return;
        }
    }
}
