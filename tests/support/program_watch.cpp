// The program watcher; see program_watch.h.
#include "support/program_watch.h"

#include <algorithm>

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> visible;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) search->visible.push_back(window);
    return TRUE;
}

}  // namespace

std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

StartedProgram StartProgram(const std::string& commandLine) {
    StartedProgram started;
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started.ok = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                &started.process) != 0;
    return started;
}

ProgramRun WatchStarted(StartedProgram& started, int seconds, const WindowLook& look) {
    ProgramRun run;
    if (!started.ok) return run;
    run.started = true;
    const PROCESS_INFORMATION& process = started.process;
    for (int waited = 0; waited < seconds * 1000; waited += 20) {
        WindowSearch search = {process.dwProcessId, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        run.windowsSeen = std::max(run.windowsSeen, static_cast<int>(search.visible.size()));
        if (look) look(search.visible);
        if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
            run.ended = true;
            break;
        }
    }
    if (!run.ended) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    started.ok = false;
    return run;
}

ProgramRun WatchProgram(const std::string& commandLine, int seconds, const WindowLook& look) {
    StartedProgram started = StartProgram(commandLine);
    return WatchStarted(started, seconds, look);
}
