// Stand-ins and read-back helpers for the engine tests; see engine_fixture.h.
#include "engine_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <ostream>

#include "app/bounded.h"
#include "app/globals.h"
#include "install/uninstall_entry.h"
#include "resources/resource_ids.h"

std::vector<ShownMessage> g_shownMessages;

namespace {

int g_scriptedAnswer = IDOK;
std::vector<int> g_positions;
WNDPROC g_barProcedure = nullptr;

LRESULT CALLBACK RecordingBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) g_positions.push_back(static_cast<int>(wParam));
    return CallWindowProcA(g_barProcedure, bar, message, wParam, lParam);
}

int ShowRowAsWizard(MessageRow row, const char* detail) { return ShowMessageRow(row, g_wizardWindow, detail); }
// Set before any test runs, as the wizard sets it before the run.
const bool g_notifierSet = (SetInstallNotifier(ShowRowAsWizard), true);

// Every install run of a test writes the uninstall entry into the test
// prefix's registry; the prefix is shared with later tests, whose setup
// would otherwise propose the folder of a test's install. The entries go
// before and after the test program.
class UninstallEntryCleaner : public ::testing::Environment {
public:
    void SetUp() override { RemoveEntries(); }
    void TearDown() override { RemoveEntries(); }

private:
    static void RemoveEntries() {
        RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKeyPath);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    }
};
::testing::Environment* const g_entryCleaner = ::testing::AddGlobalTestEnvironment(new UninstallEntryCleaner);

}  // namespace

InstallAnswers AnswersFromState() {
    InstallAnswers answers = {};
    CopyBounded(answers.folder, g_installFolder);
    answers.desktopIcons = g_wantDesktopIcons;
    answers.bitmapFont = g_chineseDisplayOk ? 0 : 1;
    answers.language = g_uiLanguage;
    answers.wordBase = kWordBaseAsk;
    answers.allUsers = g_allUsers;
    return answers;
}

int ShowMessage(const char* chineseText, const char* englishText, int buttonSet, HWND owner) {
    g_shownMessages.push_back({chineseText, englishText ? englishText : "", buttonSet, owner});
    return g_scriptedAnswer;
}

void ResetMessages(int answer) {
    g_shownMessages.clear();
    g_scriptedAnswer = answer;
}

ShownMessage ExpectedMessage(MessageRow row, HWND owner, const char* detail) {
    const Message& message = MessageOfRow(row);
    std::string chinese = message.chinese;
    if (detail != nullptr) {
        char formatted[1024];
        snprintf(formatted, sizeof formatted, message.chinese, detail);
        chinese = formatted;
    }
    return {chinese, message.english, message.buttonSet, owner};
}

bool operator==(const ShownMessage& a, const ShownMessage& b) {
    return a.chinese == b.chinese && a.english == b.english && a.buttonSet == b.buttonSet &&
           a.owner == b.owner;
}

void PrintTo(const ShownMessage& message, std::ostream* out) {
    *out << "{\"" << message.english << "\", buttons " << message.buttonSet << ", owner "
         << message.owner << "}";
}

WizardStandIn::WizardStandIn() {
    InitCommonControls();
    window_ = CreateWindowExA(0, "STATIC", "wizard", WS_OVERLAPPED, 0, 0, 300, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 10, 10, 200, 16, window_,
                           reinterpret_cast<HMENU>(IDC_PROGRESS), GetModuleHandleA(nullptr), nullptr);
    g_barProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingBarProcedure)));
    g_positions.clear();
}

WizardStandIn::~WizardStandIn() { DestroyWindow(window_); }

const std::vector<int>& WizardStandIn::positions() const { return g_positions; }
void WizardStandIn::ClearPositions() { g_positions.clear(); }

ShortcutFields ReadShortcut(const std::string& linkPath) {
    ShortcutFields fields;
    if (FAILED(CoInitialize(nullptr))) return fields;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH];
            if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) != 0 &&
                SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[1024] = "";
                fields.loaded = true;
                if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) fields.target = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetDescription(text, sizeof text))) fields.description = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) fields.workingDirectory = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &fields.iconIndex))) {
                    fields.iconPath = text;
                }
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return fields;
}

ExpectedNames NamesForSystemLanguage(int code) {
    if (code < 1) return {"Zelko Scrivora", "Zelko Scrivora", "Morvalen Pad", "Zelko Scrivora UnInstall"};
    if (code == 1) {
        return {"\xd4\xf3\xbf\xc2\xc4\xfe\xc1\xe9\xc4\xab\xbc\xe3",               // 泽柯宁灵墨笺
                "\xd4\xf3\xbf\xc2\xc4\xfe\xc1\xe9\xc4\xab\xbc\xe3",               // 泽柯宁灵墨笺
                "\xd4\xf3\xbf\xc2\xc4\xfe\xce\xc4\xb1\xbe\xb1\xe0\xbc\xad",       // 泽柯宁文本编辑
                "\xd4\xf3\xbf\xc2\xc4\xfe\xc1\xe9\xc4\xab\xbc\xe3\xd0\xb6\xd4\xd8"};  // 泽柯宁灵墨笺卸载
    }
    return {"\xbf\x41\xac\x5f\xb9\xe7\xc6\x46\xbe\xa5\xba\xe0",                   // 澤柯寧靈墨箋
            "\xbf\x41\xac\x5f\xb9\xe7\xc6\x46\xbe\xa5\xba\xe0",                   // 澤柯寧靈墨箋
            "\xbf\x41\xac\x5f\xb9\xe7\xa4\xe5\xa5\xbb\xbd\x73\xbf\xe8",           // 澤柯寧文本編輯
            "\xbf\x41\xac\x5f\xb9\xe7\xc6\x46\xbe\xa5\xba\xe0\xa8\xf8\xb8\xfc"};  // 澤柯寧靈墨箋卸載
}

std::string UserName() {
    char name[256];
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

std::string ExpectedProgramsFolder() {
    return "C:\\users\\" + UserName() + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
}

std::string ExpectedDesktopFolder() { return "C:\\users\\" + UserName() + "\\Desktop"; }

namespace {

void CreateFolderChain(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

void EnsureShellFolders() {
    CreateFolderChain(ExpectedProgramsFolder());
    CreateFolderChain(ExpectedDesktopFolder());
}
