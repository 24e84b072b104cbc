// Answers modal dialogs from the test's own thread. A modal dialog runs its
// own message loop inside the call that opened it, so the test cannot act
// after the call; instead a CBT hook notices each dialog as it activates and a
// moment later (from a timer, inside the dialog's loop) hands it to the test's
// action, which reads it and presses a button.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalAnswerer {
public:
    using Action = std::function<void(HWND dialog)>;
    // Answers every dialog (class #32770) other than the wizard that
    // activates while this object exists.
    explicit ModalAnswerer(Action action);
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // How many dialogs were handed to the action.
    int answered() const { return answered_; }

    // An action for the program's message box: records its Chinese and
    // English lines (controls 1013 and 1028) and presses `button`.
    static Action PressButton(int button, std::vector<std::string>* chineseLines,
                              std::vector<std::string>* englishLines = nullptr);

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD);

    Action action_;
    HHOOK hook_ = nullptr;
    std::vector<HWND> seen_;
    HWND pending_ = nullptr;
    int answered_ = 0;
};
