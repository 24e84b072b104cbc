// The system's messages: every prompt, notice and error the user can see,
// each a Chinese and an English text shown together by ShowMessage. Rows that
// say the same thing share their texts, which are stored once.
#pragma once
#include <windows.h>

#include "app/message_rows.h"

// Button sets of ShowMessage.
constexpr int kButtonsOk = 0;           // OK
constexpr int kButtonsOkCancel = 1;     // OK and Cancel (any value but 0 and 4)
constexpr int kButtonsYesNo = 4;        // Yes and No


struct Message {
    const char* chinese;   // GB2312; for row 9 a format with one %s
    const char* english;   // ASCII, shorter than 128 bytes
    int buttonSet;
};

// The row's texts and button set; rows 1 to kMessageRowCount.
const Message& MessageOfRow(MessageRow row);

// Shows the system's message box (dialog 112) and returns the identifier of
// the button that closed it: IDOK, IDCANCEL, IDYES or IDNO. Esc and the close
// box give IDCANCEL. englishText may be null.
int ShowMessage(const char* chineseText, const char* englishText, int buttonSet, HWND owner);

// Shows a row of the table. Row 9 takes the folder path as `detail`; a path
// too long for the message keeps the message without it.
int ShowMessageRow(MessageRow row, HWND owner, const char* detail = nullptr);
