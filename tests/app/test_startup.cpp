// The setup program started as a process, watched from outside: the real
// program shows its wizard and ends with 1602 (cancelled by the user) on Cancel; a build whose glyph
// font payload is damaged ends with 1 before any window exists.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// The build tree's Unix path as Wine's drive Z: sees it.
std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return "Z:" + path;
}

struct ProcessRun {
    bool started = false;
    bool ended = false;
    DWORD exitCode = 0;
    int windowsSeen = 0;          // visible top-level windows of the process
    HWND wizard = nullptr;        // the wizard, once seen
    std::string pathField;        // its install folder field when it showed
};

struct WindowSearch {
    DWORD processId;
    int visible;
    HWND wizard;
};

BOOL CALLBACK CountWindows(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        ++search->visible;
        char caption[64] = "";
        GetWindowTextA(window, caption, sizeof caption);
        if (std::string(caption) == "Varnelo Scrivora Installer") {
            search->wizard = window;
        }
    }
    return TRUE;
}

// Starts the program and watches its windows until it ends or `seconds` pass.
// When `cancelWizard` is set, Cancel is pressed on the wizard once it shows.
ProcessRun Watch(const std::string& program, int seconds, bool cancelWizard, const std::string& switches = "") {
    ProcessRun run;
    std::string commandLine = "\"" + WindowsPath(program) + "\"" + switches;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return run;
    }
    run.started = true;
    bool cancelled = false;
    for (int waited = 0; waited < seconds * 1000; waited += 20) {
        WindowSearch search = {process.dwProcessId, 0, nullptr};
        EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&search));
        run.windowsSeen = std::max(run.windowsSeen, search.visible);
        if (search.wizard) {
            run.wizard = search.wizard;
            if (cancelWizard && !cancelled) {
                // WM_GETTEXT is carried across processes with its text.
                char text[MAX_PATH] = "";
                SendMessageA(GetDlgItem(search.wizard, 1002), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
                run.pathField = text;
                PostMessageA(search.wizard, WM_COMMAND, IDCANCEL, 0);
                cancelled = true;
            }
        }
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
    return run;
}

TEST(Startup, ShowsTheWizardAndEndsWithCancelledOnCancel) {
    ProcessRun run = Watch(SETUP_EXE, 30, true);
    ASSERT_TRUE(run.started);
    EXPECT_NE(run.wizard, nullptr);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 1602u);
}

// /D= without /S: the wizard starts on that folder, spaces and all.
TEST(Startup, FolderOnTheCommandLineIsTheWizardsFirstProposal) {
    ProcessRun run = Watch(SETUP_EXE, 30, true, " /D=C:\\Some Where\\Zelko Scrivora");
    ASSERT_TRUE(run.started);
    ASSERT_NE(run.wizard, nullptr);
    EXPECT_EQ("C:\\Some Where\\Zelko Scrivora", run.pathField);
    EXPECT_EQ(run.exitCode, 1602u);
}

TEST(Startup, DamagedGlyphFontEndsWithOneAndNoWindow) {
    ProcessRun run = Watch(DAMAGED_GLYPH_SETUP_EXE, 30, false);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.windowsSeen, 0);
}

}  // namespace
