// Looking at the queue while busy, and dropping the input given meanwhile;
// see busy_queue.h.
#include "app/busy_queue.h"

#include <windows.h>

namespace {

// Far below the five seconds after which Windows calls a window hung, and
// below what a person notices as a delay in another program that sent
// something.
constexpr DWORD kLookIntervalMs = 100;
DWORD g_lastLook;

}  // namespace

void AnswerSentMessages() {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    g_lastLook = GetTickCount();
}

void AnswerSentMessagesNowAndThen() {
    if (GetTickCount() - g_lastLook >= kLookIntervalMs) AnswerSentMessages();
}

void DropInputGivenMeanwhile() {
    // Clicks on the frame (its close box among them), keys (Alt+F4, Enter,
    // Esc), posted commands and WM_SYSCOMMAND (SC_CLOSE); clicks in the
    // windows (up to the horizontal wheel); a posted close request.
    static const UINT kRanges[][2] = {
        {WM_NCMOUSEMOVE, WM_SYSCOMMAND}, {WM_MOUSEFIRST, 0x020E}, {WM_CLOSE, WM_CLOSE}};
    MSG message;
    for (const auto& range : kRanges) {
        while (PeekMessageA(&message, nullptr, range[0], range[1], PM_REMOVE)) {
        }
    }
}
