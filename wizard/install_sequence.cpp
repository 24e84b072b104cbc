// The install sequence. For now it only walks the wizard page through the
// install and ends the program; creating the folder, the install run with its
// progress and the closing messages are still to come.
#include "wizard/install_sequence.h"

#include "app/globals.h"

void RunInstallSequence(HWND) {
    g_wizardPage = kPageInstalling;
    g_wizardPage = kPageEnd;
}
