// Shared set-up and checks of the install-run tests: a fresh install folder,
// the wizard stand-in, the product's shortcuts cleared away, and the files
// the install must leave, as this test's own list.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_fixture.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

// A file the install writes: payload identifier, name, and attributes as
// "R" (read-only) and "H" (hidden) or "-" in two places.
struct ExpectedFile {
    int identifier;
    const char* name;
    const char* attributes;
};
extern const std::vector<ExpectedFile> kExpectedFiles;

// The word base: left as it is when the user keeps an older one.
bool IsWordBaseFile(const std::string& name);

// The progress positions of a whole install, in order.
extern const std::vector<int> kAllPositions;

// The payload's bytes, as a file of that name must hold them: the word base
// in weighted form, everything else unchanged.
Bytes PayloadBytes(int identifier);
Bytes InstalledBytes(const ExpectedFile& file);
// Converts a word base in source form to the weighted form (a reference
// written for the tests).
Bytes Weighted(const Bytes& source);

class InstallRunTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes `path` the install folder (created when missing).
    void UseInstallFolder(const std::string& path);
    std::string file(const std::string& name) const { return installFolder_ + "\\" + name; }

    // The file holds exactly the bytes and attributes the install gives it.
    void ExpectInstalled(const ExpectedFile& expected);
    // zerezizu.ini: the payload with UseBmpFont rewritten in place and
    // ForceLanguage appended.
    Bytes ExpectedConfigFile(char useBmpFont, int forceLanguage);

    // Removes the product's Start-menu folders and desktop shortcuts of every language.
    static void RemoveProductShortcuts();

    TempFolder folder;
    WizardStandIn wizard;
    std::string installFolder_;
};
