// The install run behind the wizard's Install button: the whole installation
// of the product into the install folder, with the wizard's progress bar.
#pragma once

#include "install/install_answers.h"

// Installs the product as the answers say (ApplyInstallAnswers first): asks
// through the notifier whether an older word base is to be replaced when the
// answers leave that open, checks that the install can finish
// (CheckInstallCanFinish), deletes the learned dictionaries of an earlier
// installation, writes the 95 files of the manifest, records the wizard's
// choices in zerezizu.ini, and makes the Start-menu entry and, when chosen,
// the desktop shortcuts, and last the uninstall entry. Runs synchronously and
// moves the wizard's progress bar (control 1026) through fixed positions when
// there is a wizard. kInstallRefused when the memory for the inflated pieces cannot be had, the
// install folder leaves no room for the product's file names, or the check
// fails (nothing changed then; a volume too small is reported through the
// notifier); kInstallFailedDuringRun when a file that the product cannot do
// without fails all the same. Nothing is undone after a failure.
InstallOutcome RunInstall(const InstallAnswers& answers);

// Makes the answers the process-wide state the engine's operations read
// (install folder, desktop icons, display answer, language, all users).
void ApplyInstallAnswers(const InstallAnswers& answers);

// Whether the install folder leaves room for every file name the install
// joins to it within MAX_PATH. The Install press asks before it makes the
// folder, so that a folder too long is refused with nothing made.
bool InstallFolderLeavesRoom();
