// Loading the two agreement texts into their controls. Each is inflated into
// its own 64 KiB scratch buffer, which is freed as soon as the control holds
// the text.
#include "wizard/agreement.h"

#include <cstdint>

#include "install/payload.h"
#include "resources/resource_ids.h"
#include "runtime/heap.h"
#include "wizard/agreement_lines.h"
#include "wizard/messages.h"

namespace {

// Inflates payload `identifier` into buffer as a zero-terminated text.
// Returns false when the buffer could not be had or the text does not fit.
bool InflateText(HWND dialog, int identifier, const ScratchBlock& buffer) {
    if (buffer.bytes == nullptr) {
        ShowMessageRow(kMsgAgreementOutOfMemory, dialog);
        return false;
    }
    uint32_t length = 0;
    if (!LoadPayload(identifier, buffer.bytes, kAgreementBufferSize, &length) ||
        length >= kAgreementBufferSize) {
        return false;  // no room left for the closing zero
    }
    buffer.bytes[length] = '\0';
    return true;
}

int LoadChineseAgreement(HWND dialog) {
    ScratchBlock buffer(kAgreementBufferSize);
    if (!InflateText(dialog, IDP_AGREEMENT_CHINESE, buffer)) {
        return 0;
    }
    const char* lines[kMaxAgreementLines];
    int count = SplitAgreementLines(reinterpret_cast<char*>(buffer.bytes), lines, kMaxAgreementLines);
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
    ScratchBlock buffer(kAgreementBufferSize);
    if (!InflateText(dialog, IDP_AGREEMENT_ENGLISH, buffer)) {
        return 0;
    }
    SendDlgItemMessageA(dialog, IDC_AGREEMENT_EN_TEXT, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(buffer.bytes));
    return 1;
}

}  // namespace

int LoadAgreementTexts(HWND dialog) {
    return LoadChineseAgreement(dialog) && LoadEnglishAgreement(dialog);
}
