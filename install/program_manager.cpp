// Program Manager groups; see program_manager.h.
//
// One DDE conversation with service and topic "PROGMAN" carries the commands
// of one call, each its own execute transaction, so that the result of every
// command can be told apart. The command texts are ANSI in the system's code
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
// AddItem: three paths, a name, quotes and the fixed fields.
constexpr int kCommandSize = 4 * MAX_PATH + 64;

// A client needs a callback even when it wants none of the events.
HDDEDATA CALLBACK IgnoreDdeEvent(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// A conversation with Program Manager for the lifetime of the object; no
// conversation when DDE or Program Manager is not there.
class ProgramManagerConversation {
public:
    ProgramManagerConversation() {
        if (DdeInitializeA(&instance_, IgnoreDdeEvent, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
            instance_ = 0;
            return;
        }
        name_ = DdeCreateStringHandleA(instance_, "PROGMAN", CP_WINANSI);
        if (name_ != nullptr) conversation_ = DdeConnect(instance_, name_, name_, nullptr);
    }
    ~ProgramManagerConversation() {
        if (conversation_ != nullptr) DdeDisconnect(conversation_);
        if (name_ != nullptr) DdeFreeStringHandle(instance_, name_);
        if (instance_ != 0) DdeUninitialize(instance_);
    }
    ProgramManagerConversation(const ProgramManagerConversation&) = delete;
    ProgramManagerConversation& operator=(const ProgramManagerConversation&) = delete;

    // Sends one command; 1 when Program Manager carried it out.
    int Execute(const char* command) const {
        if (conversation_ == nullptr) return 0;
        BYTE* data = reinterpret_cast<BYTE*>(const_cast<char*>(command));
        return DdeClientTransaction(data, lstrlenA(command) + 1, conversation_, nullptr, 0, XTYP_EXECUTE,
                                    kCommandTimeoutMs, nullptr) != nullptr
                   ? 1
                   : 0;
    }

private:
    DWORD instance_ = 0;
    HSZ name_ = nullptr;
    HCONV conversation_ = nullptr;
};

// Formats one command naming a group and sends it.
int ExecuteForGroup(const ProgramManagerConversation& programManager, const char* format,
                    const char* groupName) {
    char command[kCommandSize];
    return FormatBounded(command, format, groupName) && programManager.Execute(command);
}

// One item of the active group: the row's target in the install folder.
int AddItem(const ProgramManagerConversation& programManager, const ShortcutRow& row) {
    char target[MAX_PATH];
    char command[kCommandSize];
    return FormatBounded(target, "%s\\%s", g_installFolder, row.targetFileName) &&
           FormatBounded(command, "[AddItem(\"%s\",\"%s\",\"%s\",0,-1,-1,\"%s\")]", target, row.displayName,
                         target, g_installFolder) &&
           programManager.Execute(command);
}

}  // namespace

int CreateProgramGroup(const char* groupName, const ShortcutRow* rows) {
    ProgramManagerConversation programManager;
    if (!ExecuteForGroup(programManager, "[CreateGroup(\"%s\")]", groupName)) return 0;
    int result = 1;
    for (const ShortcutRow* row = rows; row->displayName != nullptr; ++row) {
        result = AddItem(programManager, *row);
    }
    // Shows the user where the programs are; the group is made either way.
    ExecuteForGroup(programManager, "[ShowGroup(\"%s\",1)]", groupName);
    return result;
}

int DeleteProgramGroup(const char* groupName) {
    ProgramManagerConversation programManager;
    return ExecuteForGroup(programManager, "[DeleteGroup(\"%s\")]", groupName);
}
