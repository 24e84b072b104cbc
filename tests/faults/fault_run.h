// Checks shared by the install runs that meet a fault: where the run stopped,
// that it made no shortcut, that nothing appeared beside the install folder,
// and, for a failure found before the run changes anything, an install
// folder exactly as it was.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "install/install_run_fixture.h"

// One entry of a folder as a user could tell it apart: its name below the
// folder ("" for the folder itself), every attribute bit, the three time
// stamps and, for a file, its bytes.
struct EntryState {
    std::string name;
    DWORD attributes;
    FILETIME created, accessed, written;
    Bytes bytes;
};
using FolderState = std::vector<EntryState>;

// The folder, and everything in it and in its subfolders, in a fixed order.
// Each entry's times are read before its bytes, so that taking the state
// twice before a run settles the access times that reading changes.
FolderState ReadFolderState(const std::string& folder);
// Every entry the same, nothing added or removed.
void ExpectSameFolderState(const FolderState& expected, const FolderState& actual);

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

    // An installed product in the install folder as an earlier install left
    // it, written by the product's own writer: every file with its
    // attributes, zerezizu.ini updated, an empty "doc" folder, and a learned
    // dictionary of the user's (flatAuto.dic). A file whose payload this
    // program lacks or has damaged gets `older` instead, as from an older
    // version of the product.
    void PutInstalledProduct(const Bytes& older = {'o', 'l', 'd'});

    std::vector<std::string> entriesBefore_;
};

// The manifest row of a payload identifier.
const ExpectedFile& ManifestFile(int identifier);
