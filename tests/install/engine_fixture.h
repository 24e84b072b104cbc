// Stand-ins and read-back helpers for the tests of the installation engine.
//
// ShowMessage: each test program that links engine_fixture.cpp gets this
// recording ShowMessage instead of the real dialog; it keeps every message
// shown and answers with a scripted button.
// Wizard stand-in: a window with a real progress bar (control 1026) whose
// PBM_SETPOS positions are recorded.
// Shortcuts: .lnk files read back through the shell link object.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "install/install_answers.h"
#include "wizard/messages.h"

struct ShownMessage {
    std::string chinese;
    std::string english;
    int buttonSet;
    HWND owner;
};

// Messages shown since the last ResetMessages, and the answer to give.
extern std::vector<ShownMessage> g_shownMessages;
void ResetMessages(int answer);

// The install answers as the process-wide state the test set says them
// (install folder, desktop icons, display answer, language), with the
// word-base question left to the recording ShowMessage. The engine's
// messages reach that ShowMessage through the wizard's own row display,
// owned by g_wizardWindow, as the wizard sets it up.
InstallAnswers AnswersFromState();

// The message of a table row as it should appear; row 9 with its detail.
ShownMessage ExpectedMessage(MessageRow row, HWND owner, const char* detail = nullptr);
bool operator==(const ShownMessage& a, const ShownMessage& b);
void PrintTo(const ShownMessage& message, std::ostream* out);

// A top-level window holding a progress bar with the wizard's identifier.
class WizardStandIn {
public:
    WizardStandIn();
    ~WizardStandIn();
    WizardStandIn(const WizardStandIn&) = delete;
    WizardStandIn& operator=(const WizardStandIn&) = delete;

    HWND window() const { return window_; }
    HWND bar() const { return bar_; }
    // PBM_SETPOS positions received, in order.
    const std::vector<int>& positions() const;
    void ClearPositions();

private:
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
};

struct ShortcutFields {
    bool loaded = false;
    std::string target;
    std::string description;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = -1;
};

// Loads a .lnk file and reads its fields; loaded is false when it cannot be.
ShortcutFields ReadShortcut(const std::string& linkPath);

// Names of the Start-menu folder and shortcuts per system language code,
// as the bytes the shell gets.
struct ExpectedNames {
    std::string folder, editor, notes, uninstaller;
};
ExpectedNames NamesForSystemLanguage(int code);

// The logged-on user's name, and the shell folders of this Wine prefix as
// Wine lays them out.
std::string UserName();
std::string ExpectedProgramsFolder();
std::string ExpectedDesktopFolder();
// Makes both folders when the prefix lacks them (a user the prefix was not
// made for has no profile folders yet).
void EnsureShellFolders();
