// What the setup program does with its command line before and instead of
// the wizard: the log's first line, the proposed install folder, the silent
// install.
#pragma once

#include "app/command_line.h"
#include "install/install_answers.h"

// The log's first line: setup's version, the system's version, code page and
// language, and the command line.
void LogStartOfRun(const char* commandLine);

// The folder the wizard shows and a silent run installs into, into
// g_installFolder: /D= when given, else the folder of an earlier install
// that still holds the product, else the Windows drive's \Zelko. False when
// the /D= folder leaves no room for the product's file names.
bool ChooseInstallFolder(const CommandLine& command);

// The answers of a silent run: the wizard's defaults, or what the switches say.
InstallAnswers SilentAnswers(const CommandLine& command);

// The whole silent install, once the command line has been found sound
// (/ALLUSERS with the rights it needs); returns the exit code. Shows no
// window.
int RunSilentInstall(const CommandLine& command);
