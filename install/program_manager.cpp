// Program Manager groups; see program_manager.h.
//
// One DDE conversation with service and topic "PROGMAN" carries the commands
// of one call as one execute transaction, which Program Manager carries out
// in order until one fails. The command texts are ANSI in the system's code
// page; the system converts them for a Unicode shell. Every name and path is
// an argument in double quotes: Program Manager then takes the commas,
// parentheses and brackets inside it as part of the name, among them the
// second byte of a double-byte character, which may be a bracket.
#include "install/program_manager.h"

#include <windows.h>
#include <ddeml.h>

#include "app/bounded.h"
#include "app/globals.h"

namespace {

// Program Manager may draw a group window before it answers.
constexpr DWORD kCommandTimeoutMs = 20000;
// The group's commands: CreateGroup and three AddItem commands of three
// paths and a name each.
constexpr int kCommandsSize = 12 * MAX_PATH;

// A client needs a callback even when it wants none of the events.
HDDEDATA CALLBACK IgnoreDdeEvent(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// Sends the commands to Program Manager in one execute transaction. Returns
// 1 when it carried out every one, else 0 (also when DDE or Program Manager
// is not there); it stops at the first that fails.
int SendCommands(const char* commands) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, IgnoreDdeEvent, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 0;
    int result = 0;
    // Service and topic have the same name.
    HSZ name = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, name, name, nullptr);
    if (conversation != nullptr) {
        BYTE* data = reinterpret_cast<BYTE*>(const_cast<char*>(commands));
        result = DdeClientTransaction(data, lstrlenA(commands) + 1, conversation, nullptr, 0, XTYP_EXECUTE,
                                      kCommandTimeoutMs, nullptr) != nullptr;
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, name);
    DdeUninitialize(instance);
    return result;
}

}  // namespace

int CreateProgramGroup(const char* groupName, const ShortcutRow* rows) {
    char commands[kCommandsSize];
    if (!FormatBounded(commands, "[CreateGroup(\"%s\")]", groupName)) return 0;
    for (const ShortcutRow* row = rows; row->displayName != nullptr; ++row) {
        char target[MAX_PATH];
        size_t used = lstrlenA(commands);
        if (!FormatBounded(target, "%s\\%s", g_installFolder, row->targetFileName) ||
            !FormatBounded(commands + used, sizeof commands - used, "[AddItem(\"%s\",\"%s\",\"%s\",0,-1,-1,\"%s\")]",
                           target, row->displayName, target, g_installFolder)) {
            return 0;
        }
    }
    return SendCommands(commands);
}

int DeleteProgramGroup(const char* groupName) {
    char command[MAX_PATH];
    return FormatBounded(command, "[DeleteGroup(\"%s\")]", groupName) && SendCommands(command);
}
