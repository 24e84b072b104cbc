// The setup program's command line, in the style deployment tools assume for
// small single-file installers (switches without regard to case):
//   /S            silent: no window, no question; the wizard's default answers
//   /D=folder     the install folder: the last argument, the rest of the line
//                 as it is (spaces allowed, no quotes)
//   /NODESKTOP    no desktop shortcuts
//   /LANG=x       the installed product's language: EN, ZH-CN or ZH-TW
//   /ALLUSERS     shortcuts and uninstall entry for every user of the machine
//   /LOG=file     a plain-text log (the file name may stand in double quotes)
//   /?            the list of switches
#pragma once
#include <windows.h>

struct CommandLine {
    bool silent;
    bool allUsers;
    bool help;
    bool noDesktopIcons;
    int language;            // -1 when not given
    char folder[MAX_PATH];   // empty when not given
    char log[MAX_PATH];      // empty when not given
};

// Splits the whole command line (program name first, quoted or not) into
// *out. False on a switch it does not know, a switch without its value, a
// value that does not fit, or a language it does not know; *out then holds
// what was read before.
bool ParseCommandLine(const char* line, CommandLine* out);
