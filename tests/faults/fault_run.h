// Checks shared by the install runs that meet a fault: where the run stopped,
// that it made no shortcut, and that nothing appeared beside the install
// folder.
#pragma once
#include <string>
#include <vector>

#include "install/install_run_fixture.h"

class FaultRunTest : public InstallRunTest {
protected:
    void SetUp() override;

    // Every manifest file before `identifier` is installed (zerezizu.ini as
    // its payload wrote it, not updated), none after it exists; the file
    // `identifier` itself is left to the caller.
    void ExpectStoppedAt(int identifier);
    // The first manifest file, in the order of writing, whose bytes are not
    // exactly what the install gives it; 0 when every file is.
    int FirstFileNotInstalled();
    // No Start-menu folder and no desktop shortcut of the product, in any
    // language.
    void ExpectNoShortcuts();
    // The entries of the folder that holds the install folder, as they were
    // at SetUp: everything the run wrote is inside the install folder.
    void ExpectNothingBesideTheInstallFolder(const std::vector<std::string>& added = {});

    std::vector<std::string> entriesBefore_;
};

// The manifest row of a payload identifier.
const ExpectedFile& ManifestFile(int identifier);
