// The message loop: fetches, applies the Enter rule, and hands every other
// message to the dialog manager of the wizard, or to its window otherwise.
#include "app/message_loop.h"

#include "app/globals.h"
#include "resources/resource_ids.h"

namespace {

// A button whose Enter presses it. The whole low byte of the style is
// compared, so a check box that carries more bits there than its type (for
// instance BS_LEFTTEXT) counts as a push button too.
int IsPressableButton(HWND window) {
    char className[100];
    if (GetClassNameA(window, className, sizeof className) == 0) {
        return 0;
    }
    className[sizeof className - 1] = '\0';
    if (lstrcmpiA(className, "button") != 0) {
        return 0;
    }
    switch (GetWindowLongA(window, GWL_STYLE) & 0xFF) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return 0;
    default:
        return 1;
    }
}

}  // namespace

int ApplyEnterRule(HWND wizard) {
    HWND focus = GetFocus();
    if (focus && IsPressableButton(focus)) {
        PostMessageA(wizard, WM_COMMAND, static_cast<WPARAM>(GetWindowLongA(focus, GWL_ID)), 0);
        return 1;
    }
    PostMessageA(wizard, WM_COMMAND, IDC_NEXT, 0);
    return 0;
}

void RunMessageLoop() {
    MSG message;
    while (g_wizardPage >= 0) {
        BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0 || result == -1) {
            break;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
            ApplyEnterRule(g_wizardWindow)) {
            continue;
        }
        if (!IsDialogMessageA(g_wizardWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
