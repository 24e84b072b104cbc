// What one install is asked to do, and how it reports back.
//
// The answers are one value, filled either by the wizard's pages or by the
// command line of a silent run; the install run takes them and shows nothing
// itself. Whatever it has to tell or ask on the way (a message row of the
// system's table) goes to the notifier its caller set: the wizard shows the
// row in its message box, a silent run writes it to the log and gives the
// question's default answer. The run's result is an outcome, which the
// caller turns into its closing message or its exit code.
#pragma once
#include <windows.h>

#include "app/message_rows.h"

enum WordBaseAnswer {
    kWordBaseAsk,       // ask through the notifier when an older one is there
    kWordBaseReplace,   // the question's default answer (Yes)
    kWordBaseKeep,
};

struct InstallAnswers {
    char folder[MAX_PATH];
    int desktopIcons;      // 1: desktop shortcuts
    int bitmapFont;        // 1: the product draws Chinese from its own glyph font (UseBmpFont)
    int language;          // the installed product's language: 0 English, 1 Simplified, 2 Traditional
    int wordBase;          // a WordBaseAnswer
    int offerSpeech;       // 1: offer the speech module after a success (only the wizard can)
    int allUsers;          // 1: shortcuts and uninstall entry for every user of the machine
};

enum InstallOutcome {
    kInstallRefused = 0,          // found before the first change: nothing changed
    kInstallDone = 1,
    kInstallFailedDuringRun = 2,  // a change was made before the failure
};

// Shows or records a message row (row 9 with `detail`) and returns the
// answer: IDOK, IDCANCEL, IDYES or IDNO.
using InstallNotifier = int (*)(MessageRow row, const char* detail);

// Sets who hears the engine's messages. Without a notifier each question
// gets its default answer (Yes, OK) and nothing is shown.
void SetInstallNotifier(InstallNotifier notifier);
int NotifyInstallRow(MessageRow row, const char* detail = nullptr);
