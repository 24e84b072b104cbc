// The Install press on the real wizard, for fault cases that must end in what
// the user sees: the wizard from its template, its path field filled in, on
// its last page, and Next (Install) pressed. Messages go to the recording
// ShowMessage of engine_fixture.cpp.
#pragma once
#include <string>

#include "fault_run.h"

class InstallPressTest : public FaultRunTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Types `folder` into the path field, ticks the desktop-icon box, goes to
    // the last page and presses Install. Returns when the sequence is over
    // (it waits five seconds on purpose). The install folder of the checks
    // (file()) becomes `folder`. Every message is answered with `answer`.
    void PressInstall(const std::string& folder, int answer = IDOK);
    // The install failed as the user sees it: the messages `before` (a
    // question, a cause), then the failure message and no other, the program
    // about to end, no shortcut. It reads no file of the install folder, so
    // that a folder state taken afterwards still has its access times.
    void ExpectFailureShown(const std::vector<MessageRow>& before = {});

    HWND dialog = nullptr;
};
