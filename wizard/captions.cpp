// The caption tables of the owner-drawn controls and the check boxes; see
// captions.h. The message box, the wizard and the folder chooser share one
// table: an identifier means the same caption in every dialog that has it.
#include "wizard/captions.h"

#include <windows.h>

#include "resources/resource_ids.h"
#include "wizard/pages.h"

namespace {

constexpr OwnerDrawCaption kOwnerDrawCaptions[] = {
    {IDC_OK, kCaptionFixed, "确认 OK", false, false},
    {IDC_CANCEL, kCaptionFixed, "取消 Cancel", false, false},
    {IDC_BACK, kCaptionFixed, "退一步 Back", false, false},
    {IDC_ANSWER_YES, kCaptionFixed, "是 Yes", false, false},
    {IDC_ANSWER_NO, kCaptionFixed, "否 No", false, false},
    {IDC_NEXT, kCaptionNextButton, nullptr, false, false},
    {IDC_BROWSE, kCaptionFixed, "改变 Browse ....", false, false},
    {IDC_FOLDER_LABEL, kCaptionFixed, "安装路径： (Install Path)", true, true},
    {IDC_CHOOSER_DIRS_LABEL, kCaptionFixed, "路径 (Directories):", true, true},
    {IDC_FAMILY_TITLE, kCaptionFixed, "《泽柯宁》 Zelko", false, true},
    {IDC_CHOOSER_DRIVES_LABEL, kCaptionFixed, "磁盘 (Drives):", true, true},
    {IDC_EDITION_NAME, kCaptionFixed, "灵墨笺 Scrivora", false, true},
    {IDC_SETUP_NAME, kCaptionFixed, "安装程序", false, true},
    {IDC_MESSAGE_CHINESE, kCaptionWindowText, nullptr, false, true},
    {IDC_DISPLAY_QUESTION, kCaptionFixed,
     "以上中文显示正确吗 (Is the Above Chinese Display OK)?", false, true},
    {IDC_SAMPLE_LINE, kCaptionSampleLine, "日出江花红胜火", false, true},
    {IDC_UNPAINTED_AREA, kCaptionNeverPainted, nullptr, false, true},
    {IDC_BOTTOM_STRIP, kCaptionFixed, "", true, true},
    {IDC_LANGUAGE_LABEL, kCaptionFixed, "User Interface Language 用户界面语言", false, true},
};

constexpr OwnerDrawCaption kOtherControl = {0, kCaptionWindowText, nullptr, false, false};

struct CheckBoxCaptionRow {
    int id;
    const char* text;
};

constexpr CheckBoxCaptionRow kCheckBoxCaptions[] = {
    {IDC_DESKTOP_ICONS, "建立桌面图标？  (Place an icon on Desktop)"},
    {IDC_DISPLAY_OK, "正确(OK)"},
    {IDC_DISPLAY_BAD, "不正确(NO)"},
};

}  // namespace

const OwnerDrawCaption& OwnerDrawCaptionOf(int id) {
    for (const OwnerDrawCaption& row : kOwnerDrawCaptions) {
        if (row.id == id) return row;
    }
    return kOtherControl;
}

const char* NextButtonCaption(int wizardPage) {
    // From the language page on, and while installing, the button installs.
    return wizardPage >= kPageLanguage ? "同意/安装 Agree/Install" : "下一步 Next";
}

const char* CheckBoxCaption(int id) {
    for (const CheckBoxCaptionRow& row : kCheckBoxCaptions) {
        if (row.id == id) return row.text;
    }
    return nullptr;
}
