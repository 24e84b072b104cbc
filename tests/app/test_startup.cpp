// The setup program started as a process, watched from outside: the real
// program shows its wizard and ends with 1602 (cancelled by the user) on Cancel; a build whose glyph
// font payload is damaged ends with 1 before any window exists.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/program_watch.h"

namespace {

// The wizard as it showed, and its install folder field at that moment.
struct WizardSeen {
    HWND wizard = nullptr;
    std::string pathField;
};

// Starts the program and watches its windows until it ends or `seconds` pass.
// When `cancelWizard` is set, Cancel is pressed on the wizard once it shows.
ProgramRun Watch(const std::string& program, int seconds, bool cancelWizard, WizardSeen* seen,
                 const std::string& switches = "") {
    bool cancelled = false;
    return WatchProgram("\"" + WindowsPath(program) + "\"" + switches, seconds,
                        [&](const std::vector<HWND>& visible) {
                            for (HWND window : visible) {
                                char caption[64] = "";
                                GetWindowTextA(window, caption, sizeof caption);
                                if (std::string(caption) != "Varnelo Scrivora Installer") continue;
                                seen->wizard = window;
                                if (!cancelWizard || cancelled) continue;
                                // WM_GETTEXT is carried across processes with its text.
                                char text[MAX_PATH] = "";
                                SendMessageA(GetDlgItem(window, 1002), WM_GETTEXT, sizeof text,
                                             reinterpret_cast<LPARAM>(text));
                                seen->pathField = text;
                                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                                cancelled = true;
                            }
                        });
}

TEST(Startup, ShowsTheWizardAndEndsWithCancelledOnCancel) {
    WizardSeen seen;
    ProgramRun run = Watch(SETUP_EXE, 30, true, &seen);
    ASSERT_TRUE(run.started);
    EXPECT_NE(seen.wizard, nullptr);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 1602u);
}

// /D= without /S: the wizard starts on that folder, spaces and all.
TEST(Startup, FolderOnTheCommandLineIsTheWizardsFirstProposal) {
    WizardSeen seen;
    ProgramRun run = Watch(SETUP_EXE, 30, true, &seen, " /D=C:\\Some Where\\Zelko Scrivora");
    ASSERT_TRUE(run.started);
    ASSERT_NE(seen.wizard, nullptr);
    EXPECT_EQ("C:\\Some Where\\Zelko Scrivora", seen.pathField);
    EXPECT_EQ(run.exitCode, 1602u);
}

TEST(Startup, DamagedGlyphFontEndsWithOneAndNoWindow) {
    WizardSeen seen;
    ProgramRun run = Watch(DAMAGED_GLYPH_SETUP_EXE, 30, false, &seen);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.windowsSeen, 0);
}

}  // namespace
