// The exit codes of the setup program and the uninstaller, the same for
// interactive and silent runs. They are Windows Installer's own numbers,
// which deployment tools already read: 1618 is the one such tools take for
// "nothing happened, try again later", which is what every refusal before
// the first change means.
#pragma once

constexpr int kExitSuccess = 0;
constexpr int kExitCannotStart = 1;        // the glyph font or the wizard cannot be had (nothing changed)
constexpr int kExitCancelled = 1602;       // the user cancelled (nothing changed)
constexpr int kExitFailed = 1603;          // failed during the run, after changes; the
                                           // uninstaller: a file stayed because it was held
constexpr int kExitRefused = 1618;         // refused before any change: another setup or
                                           // uninstaller runs, a file is held, a payload is
                                           // damaged, no room, a folder cannot be made,
                                           // /ALLUSERS without administrator rights
constexpr int kExitBadCommandLine = 1639;  // a switch not known, or one without its value
