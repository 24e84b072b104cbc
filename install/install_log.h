// The plain-text log of a run (setup's /LOG= and the uninstaller's): one
// line per event, each written to the file at once, so that a run that stops
// half-way still leaves every line up to that point. Logging never makes a
// run fail: without an open log every call does nothing, and a line that
// cannot be written is lost without a word.
#pragma once
#include <windows.h>

// Opens (or creates) path and appends to it. False when the file cannot be
// opened; the run then goes on without a log.
bool OpenInstallLog(const char* path);
void CloseInstallLog();
// Whether a log is open: a line that costs a look at the disk to make is
// made only then.
bool InstallLogOpen();

// One line: `what`, a space and `text` (text may be null).
void LogLine(const char* what, const char* text);
// One line: `what`, a space, the number, a space and `text`.
void LogNumber(const char* what, long number, const char* text);
// A failure: the operation, its Win32 error code and the path it was about.
void LogFailure(const char* what, const char* path, DWORD error);
