// The install run behind the wizard's Install button: the whole installation
// of the product into the install folder, with the wizard's progress bar.
#pragma once

// Installs the product into the install folder: asks whether an older word
// base there is to be replaced, checks that the install can finish
// (CheckInstallCanFinish), deletes the learned dictionaries of an earlier
// installation, writes the 95 files of the manifest, records the wizard's
// choices in zerezizu.ini, and makes the Start-menu entry and, when chosen,
// the desktop shortcuts. Runs synchronously and moves the wizard's progress
// bar (control 1026) through fixed positions. Returns 1 on success; 0 when the
// work buffer cannot be had, the install folder leaves no room for the
// product's file names, the check fails (nothing changed then; a volume too
// small is told to the user here), or a file that the product cannot do
// without fails all the same. Nothing is undone after a failure.
int RunInstall();

// Whether the install folder leaves room for every file name the install
// joins to it within MAX_PATH. The Install press asks before it makes the
// folder, so that a folder too long is refused with nothing made.
bool InstallFolderLeavesRoom();
