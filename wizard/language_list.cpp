// The table of UI languages and the filling of the language list.
#include "wizard/language_list.h"

#include "app/globals.h"
#include "resources/resource_ids.h"

namespace {

struct UiLanguage {
    int code;            // ForceLanguage of the installed product
    const char* name;    // GB2312
};

constexpr UiLanguage kUiLanguages[] = {
    {0, "English 英文"},
    {1, "Chinese(Simplified)  中文简体"},
    {2, "Chinese(Traditional) 中文繁体"},
};

}  // namespace

void FillLanguageList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    for (const UiLanguage& language : kUiLanguages) {
        LPARAM name = reinterpret_cast<LPARAM>(language.name);
        LRESULT index = language.code == g_uiLanguage
                            ? SendMessageA(list, CB_INSERTSTRING, 0, name)
                            : SendMessageA(list, CB_ADDSTRING, 0, name);
        if (index >= 0) {
            SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), language.code);
        }
    }
    SendMessageA(list, CB_SETCURSEL, 0, 0);
}
