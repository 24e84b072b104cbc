// The CBT hook and timer behind ModalAnswerer.
#include "wizard/modal_answerer.h"

#include <algorithm>
#include <cstring>

#include "app/globals.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_fixture.h"

namespace {
ModalAnswerer* g_current = nullptr;
}

ModalAnswerer::ModalAnswerer(Action action) : action_(std::move(action)) {
    g_current = this;
    hook_ = SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
    UnhookWindowsHookEx(hook_);
    g_current = nullptr;
}

LRESULT CALLBACK ModalAnswerer::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_current) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = "";
        GetClassNameA(window, className, sizeof className);
        auto& seen = g_current->seen_;
        if (window != g_wizardWindow && std::strcmp(className, "#32770") == 0 &&
            std::find(seen.begin(), seen.end(), window) == seen.end()) {
            seen.push_back(window);
            g_current->pending_ = window;
            SetTimer(nullptr, 0, 10, OnTimer);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalAnswerer::OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_current && g_current->pending_) {
        HWND dialog = g_current->pending_;
        g_current->pending_ = nullptr;
        ++g_current->answered_;
        g_current->action_(dialog);
    }
}

ModalAnswerer::Action ModalAnswerer::PressButton(int button, std::vector<std::string>* chineseLines,
                                                 std::vector<std::string>* englishLines) {
    return [=](HWND dialog) {
        if (chineseLines) {
            chineseLines->push_back(WindowText(GetDlgItem(dialog, IDC_MESSAGE_CHINESE)));
        }
        if (englishLines) {
            englishLines->push_back(WindowText(GetDlgItem(dialog, IDC_MESSAGE_ENGLISH)));
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    };
}
