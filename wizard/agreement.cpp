// Loading the two agreement texts into their controls. Each is inflated into
// its own 64 KiB scratch buffer, which is freed as soon as the control holds
// the text.
#include "wizard/agreement.h"

#include <cstdint>
#include <memory>
#include <new>

#include "install/payload.h"
#include "resources/resource_ids.h"
#include "wizard/agreement_lines.h"
#include "wizard/messages.h"

namespace {

using TextBuffer = std::unique_ptr<char[]>;

// The text of payload `identifier`, zero-terminated, or null.
TextBuffer InflateText(HWND dialog, int identifier) {
    TextBuffer buffer(new (std::nothrow) char[kAgreementBufferSize]);
    if (!buffer) {
        ShowMessageRow(kMsgAgreementOutOfMemory, dialog);
        return nullptr;
    }
    uint32_t length = 0;
    if (!LoadPayload(identifier, reinterpret_cast<uint8_t*>(buffer.get()), kAgreementBufferSize,
                     &length) ||
        length >= kAgreementBufferSize) {
        return nullptr;  // no room left for the closing zero
    }
    buffer[length] = '\0';
    return buffer;
}

int LoadChineseAgreement(HWND dialog) {
    TextBuffer text = InflateText(dialog, IDP_AGREEMENT_CHINESE);
    if (!text) {
        return 0;
    }
    const char* lines[kMaxAgreementLines];
    int count = SplitAgreementLines(text.get(), lines, kMaxAgreementLines);
    // The list is on screen while it fills; drawing it once at the end
    // instead of after every line takes a second or two off the first visit.
    HWND list = GetDlgItem(dialog, IDC_AGREEMENT_CN_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines[i]));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return 1;
}

int LoadEnglishAgreement(HWND dialog) {
    TextBuffer text = InflateText(dialog, IDP_AGREEMENT_ENGLISH);
    if (!text) {
        return 0;
    }
    SendDlgItemMessageA(dialog, IDC_AGREEMENT_EN_TEXT, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.get()));
    return 1;
}

}  // namespace

int LoadAgreementTexts(HWND dialog) {
    return LoadChineseAgreement(dialog) && LoadEnglishAgreement(dialog);
}
