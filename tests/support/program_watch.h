// A program started as a process and watched from outside, as a user or a
// deployment tool sees it: its visible top-level windows every 20 ms, until
// it ends or time runs out (then it is ended, with 99).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A path of the build tree (a Unix path) as Wine's drive Z: shows it.
std::string WindowsPath(std::string path);

struct ProgramRun {
    bool started = false;
    bool ended = false;
    DWORD exitCode = 0;
    int windowsSeen = 0;   // most visible top-level windows of the process at one time
};

// Called on every look with the process's visible top-level windows.
using WindowLook = std::function<void(const std::vector<HWND>& visible)>;

// A started process, to be watched once (which closes its handles).
struct StartedProgram {
    PROCESS_INFORMATION process = {};
    bool ok = false;
};

StartedProgram StartProgram(const std::string& commandLine);

// Watches a started program for up to `seconds`; programs started together
// are watched one after the other.
ProgramRun WatchStarted(StartedProgram& started, int seconds, const WindowLook& look = nullptr);

// Starts commandLine and watches it for up to `seconds`.
ProgramRun WatchProgram(const std::string& commandLine, int seconds, const WindowLook& look = nullptr);
