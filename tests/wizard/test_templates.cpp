// The dialog templates 114 (wizard) and 168 (folder chooser) and icon 104,
// read back from the resources of this program exactly as Windows reads them:
// every control's identifier, class, styles and rectangle, and the dialogs'
// own styles, captions and fonts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <cstdint>
#include <cwctype>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

struct Control {
    int id;
    std::wstring className;   // lower case; atoms are turned into their names
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    std::wstring title;       // "#104" for an ordinal
};

struct Dialog {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring title;
    int pointSize = 0;
    std::wstring font;
    std::vector<Control> controls;
};

class Reader {
public:
    explicit Reader(const uint8_t* start) : start_(start), at_(start) {}
    uint16_t Word() {
        uint16_t v = at_[0] | (at_[1] << 8);
        at_ += 2;
        return v;
    }
    uint32_t Dword() {
        uint32_t low = Word();
        return low | (static_cast<uint32_t>(Word()) << 16);
    }
    uint8_t Byte() { return *at_++; }
    std::wstring String() {
        std::wstring s;
        for (uint16_t c; (c = Word()) != 0;) {
            s += static_cast<wchar_t>(c);
        }
        return s;
    }
    // A string, or 0xFFFF and an ordinal.
    std::wstring StringOrOrdinal() {
        if (at_[0] == 0xFF && at_[1] == 0xFF) {
            Word();
            return L"#" + std::to_wstring(Word());
        }
        return String();
    }
    void AlignDword() {
        while ((at_ - start_) % 4 != 0) {
            ++at_;
        }
    }
    void Skip(size_t n) { at_ += n; }

private:
    const uint8_t* start_;
    const uint8_t* at_;
};

std::wstring ClassName(std::wstring name) {
    static const wchar_t* const kAtoms[] = {L"button", L"edit", L"static",
                                            L"listbox", L"scrollbar", L"combobox"};
    if (name.size() > 1 && name[0] == L'#') {
        int atom = std::stoi(name.substr(1));
        if (atom >= 0x80 && atom <= 0x85) {
            return kAtoms[atom - 0x80];
        }
    }
    for (wchar_t& c : name) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return name;
}

// Parses a DIALOG or DIALOGEX template.
Dialog ReadDialog(int id) {
    Dialog d;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!found) {
        ADD_FAILURE() << "no dialog " << id;
        return d;
    }
    Reader r(static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found))));
    bool extended = false;
    uint16_t first = r.Word();
    uint16_t second = r.Word();
    if (first == 1 && second == 0xFFFF) {
        extended = true;
        r.Dword();  // help id
        d.exStyle = r.Dword();
        d.style = r.Dword();
    } else {
        d.style = first | (static_cast<DWORD>(second) << 16);
        d.exStyle = r.Dword();
    }
    int count = r.Word();
    d.x = r.Word();
    d.y = r.Word();
    d.cx = r.Word();
    d.cy = r.Word();
    r.StringOrOrdinal();  // menu
    r.StringOrOrdinal();  // class
    d.title = r.String();
    if (d.style & DS_SETFONT) {
        d.pointSize = r.Word();
        if (extended) {
            r.Word();  // weight
            r.Byte();  // italic
            r.Byte();  // charset
        }
        d.font = r.String();
    }
    for (int i = 0; i < count; ++i) {
        r.AlignDword();
        Control c;
        if (extended) {
            r.Dword();  // help id
            c.exStyle = r.Dword();
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            c.exStyle = r.Dword();
        }
        c.x = r.Word();
        c.y = r.Word();
        c.cx = r.Word();
        c.cy = r.Word();
        c.id = extended ? static_cast<int>(r.Dword()) : static_cast<int16_t>(r.Word());
        c.className = ClassName(r.StringOrOrdinal());
        c.title = r.StringOrOrdinal();
        r.Skip(r.Word());
        d.controls.push_back(c);
    }
    return d;
}

constexpr DWORD C = WS_CHILD;
constexpr DWORD V = WS_VISIBLE;
constexpr DWORD kOwnerDrawLabel = C | V | WS_DISABLED | BS_OWNERDRAW;
constexpr DWORD kOwnerDrawButton = C | V | WS_TABSTOP | BS_OWNERDRAW;
constexpr DWORD kAnswerBox = C | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY;

void ExpectControls(const Dialog& actual, const std::vector<Control>& expected) {
    ASSERT_EQ(actual.controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Control& a = actual.controls[i];
        const Control& e = expected[i];
        SCOPED_TRACE("control " + std::to_string(e.id));
        EXPECT_EQ(a.id, e.id);
        EXPECT_EQ(a.className, e.className);
        EXPECT_EQ(a.style, e.style) << std::hex << (a.style ^ e.style);
        EXPECT_EQ(a.exStyle, e.exStyle);
        EXPECT_EQ(a.x, e.x);
        EXPECT_EQ(a.y, e.y);
        EXPECT_EQ(a.cx, e.cx);
        EXPECT_EQ(a.cy, e.cy);
        if (!e.title.empty()) {
            EXPECT_EQ(a.title, e.title);
        }
    }
}

TEST(DialogTemplates, WizardHasEveryControlInTabOrder) {
    Dialog d = ReadDialog(IDD_WIZARD);
    EXPECT_EQ(d.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                          DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(d.title, L"Varnelo Scrivora Installer");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.font, L"MS Sans Serif");
    EXPECT_EQ(std::vector<short>({d.x, d.y, d.cx, d.cy}), std::vector<short>({30, 14, 460, 215}));

    const std::vector<Control> expected = {
        {1002, L"edit", C | V | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 171, 43, 169, 12, L""},
        {1010, L"button", C | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0, 164, 144, 82, 16,
         L"English"},
        {1014, L"edit", C | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY, 0,
         153, 7, 289, 134, L""},
        {1019, L"listbox",
         C | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
             LBS_HASSTRINGS | LBS_NOSEL,
         0, 149, 7, 291, 133, L""},
        {1003, L"button", kOwnerDrawButton, 0, 342, 42, 76, 16, L""},
        {1004, L"button", C | V | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, 0, 171, 80, 220, 16, L""},
        {1006, L"button", kOwnerDrawLabel, 0, 171, 27, 223, 16, L""},
        {3, L"button", kOwnerDrawButton, 0, 162, 164, 68, 16, L""},
        {1001, L"button", kOwnerDrawButton, 0, 238, 164, 106, 16, L""},
        {2, L"button", kOwnerDrawButton, 0, 352, 164, 68, 16, L""},
        {166, L"static", C | V | WS_GROUP | SS_CENTER, 0, 5, 124, 121, 8, L"Varnelo Scrivora"},
        {102, L"static", C | V | SS_ICON, WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE, 52, 16, 20, 20,
         L"#104"},
        {169, L"static", C | V | WS_GROUP | SS_CENTER, 0, 5, 136, 121, 8, L"Installer"},
        {1009, L"button", kOwnerDrawLabel, 0, 5, 59, 121, 16, L""},
        {1011, L"button", kOwnerDrawLabel, 0, 5, 77, 121, 16, L""},
        {1012, L"button", kOwnerDrawLabel, 0, 5, 95, 121, 16, L""},
        {1015, L"button", C | BS_GROUPBOX, 0, 166, 10, 242, 62, L""},
        {1017, L"button", C | WS_DISABLED | BS_OWNERDRAW, 0, 172, 80, 230, 16, L""},
        {1018, L"button", C | WS_DISABLED | BS_OWNERDRAW, 0, 181, 22, 210, 27, L""},
        {1007, L"button", kAnswerBox, 0, 186, 102, 220, 16, L""},
        {1008, L"button", kAnswerBox, 0, 186, 118, 220, 16, L""},
        {1030, L"button", C | WS_DISABLED | BS_OWNERDRAW, 0, 155, 80, 230, 16, L""},
        {1031, L"combobox",
         C | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
             CBS_AUTOHSCROLL | CBS_HASSTRINGS,
         0, 170, 62, 228, 136, L""},
        {1020, L"button", kOwnerDrawLabel, 0, 5, 156, 121, 16, L""},
        {1021, L"button", kOwnerDrawLabel, 0, 4, 199, 318, 16, L""},
        {108, L"static", C | V | WS_BORDER | SS_LEFT, WS_EX_STATICEDGE | WS_EX_CLIENTEDGE, 134, 10,
         1, 147, L""},
        {172, L"static", C | V | WS_GROUP | SS_RIGHT, 0, 328, 204, 84, 8, L""},
        {1026, L"msctls_progress32", C | WS_BORDER | PBS_SMOOTH, 0, 151, 183, 294, 14, L""},
        {1022, L"button", C | WS_DISABLED | BS_OWNERDRAW, 0, 151, 161, 181, 14, L""},
    };
    ExpectControls(d, expected);
    // The web address is a reserved example name.
    ASSERT_EQ(d.controls.size(), expected.size());
    EXPECT_NE(d.controls[26].title.find(L"example."), std::wstring::npos);
}

TEST(DialogTemplates, FolderChooserKeepsTheOldDialogsControls) {
    Dialog d = ReadDialog(IDD_FOLDER_CHOOSER);
    EXPECT_EQ(d.style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(d.title, L"Choose Destination Directory");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.font, L"Helv");
    EXPECT_EQ(std::vector<short>({d.x, d.y, d.cx, d.cy}), std::vector<short>({36, 24, 258, 182}));

    const DWORD list = WS_CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT |
                       LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_DISABLENOSCROLL;
    const std::vector<Control> expected = {
        {1090, L"static", C | WS_GROUP | SS_LEFT, 0, 169, 103, 68, 9, L"File &Name:"},
        {1152, L"edit", C | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_OEMCONVERT, 0, 168, 99,
         68, 12, L""},
        {1120, L"listbox", list, 0, 168, 89, 68, 17, L""},
        {1088, L"static", C | V | WS_GROUP | SS_NOPREFIX, 0, 13, 23, 92, 9, L""},
        {1121, L"listbox", list | V, 0, 12, 36, 126, 129, L""},
        {1089, L"static", C | WS_GROUP | SS_LEFT, 0, 167, 91, 68, 9, L"List Files of &Type:"},
        {1136, L"combobox", C | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST |
             CBS_AUTOHSCROLL, 0, 167, 100, 68, 36, L""},
        {1091, L"static", C | WS_GROUP | SS_LEFT, 0, 158, 133, 64, 8, L"Dri&ves:"},
        {1137, L"combobox",
         C | V | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
             CBS_AUTOHSCROLL | CBS_SORT | CBS_HASSTRINGS,
         0, 158, 142, 77, 68, L""},
        {1, L"button", C | V | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 160, 36, 76, 16, L"&OK"},
        {2, L"button", C | V | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0, 160, 64, 76, 16,
         L"&Cancel"},
        {1038, L"button", C | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0, 177, 97, 50, 14, L"&Help"},
        {1040, L"button", C | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 179, 88, 50, 12,
         L"&Read Only"},
        {1008, L"button", kOwnerDrawLabel, 0, 14, 3, 119, 16, L"\u8def\u5f84 (Directories):"},
        {1010, L"button", kOwnerDrawLabel, 0, 158, 124, 77, 16, L"\u78c1\u76d8 (Drives):"},
        {-1, L"static", C | WS_GROUP | SS_LEFT, 0, 13, 8, 92, 9, L"&Directories:"},
    };
    ExpectControls(d, expected);
}

// Icon 104 carries a 32 x 32 and a 16 x 16 image that every Windows shows.
TEST(DialogTemplates, IconHasBothSizes) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_SETUP), MAKEINTRESOURCEA(14));
    ASSERT_NE(found, nullptr);
    const uint8_t* group = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    int count = group[4] | (group[5] << 8);
    std::vector<std::pair<int, int>> sizes;  // width, bits per pixel
    for (int i = 0; i < count; ++i) {
        const uint8_t* entry = group + 6 + 14 * i;
        sizes.push_back({entry[0], entry[6] | (entry[7] << 8)});
    }
    EXPECT_EQ(sizes, (std::vector<std::pair<int, int>>{{32, 4}, {16, 4}}));
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap;
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

}  // namespace
