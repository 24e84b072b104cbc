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
    // (file()) becomes `folder`.
    void PressInstall(const std::string& folder);
    // The install failed as the user sees it: the failure message and no
    // other, the program about to end, no configuration update, no shortcut.
    void ExpectFailureShown();

    HWND dialog = nullptr;
};
