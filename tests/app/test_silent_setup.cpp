// The shipped setup program and its uninstaller started as a deployment tool
// starts them: a command line, no person at the screen, only the exit code,
// the log, the registry and the disk looked at afterwards. Every run is
// watched from start to end for a visible top-level window of its process;
// a silent run must never show one.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_watch.h"
#include "support/temp_folder.h"

namespace {

constexpr char kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZelkoScrivora";
constexpr DWORD kSuccess = 0, kFailed = 1603, kRefused = 1618, kBadCommandLine = 1639;

const std::string kSetup = "\"" + WindowsPath(SETUP_EXE) + "\"";

// With `answer`, a window the program shows is answered with OK (a message box).
ProgramRun RunLine(const std::string& commandLine, bool answer = false) {
    ProgramRun run = WatchProgram(commandLine, 120, [answer](const std::vector<HWND>& visible) {
        if (answer && !visible.empty()) PostMessageA(visible.front(), WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(run.started) << commandLine;
    return run;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int CountStarting(const std::vector<std::string>& lines, const std::string& start) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return l.rfind(start, 0) == 0; }));
}

std::string ShellFolder(int kind) {
    char path[MAX_PATH] = "";
    LPITEMIDLIST list = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, kind, &list))) {
        SHGetPathFromIDListA(list, path);
        CoTaskMemFree(list);
    }
    return path;
}

bool HasEntry(HKEY hive) {
    HKEY key;
    if (RegOpenKeyExA(hive, kEntryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::string EntryText(HKEY hive, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(hive, kEntryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "(no entry)";
    char value[1024] = "";
    DWORD size = sizeof value - 1, type = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "(no value)";
    if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(value));
    return value;
}

std::wstring EntryWideText(HKEY hive, const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(hive, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZelkoScrivora", 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
        return L"(no entry)";
    }
    wchar_t value[256] = L"";
    DWORD size = sizeof value - sizeof(wchar_t);
    LONG result = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? value : L"(no value)";
}

void RemoveEntries() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kEntryKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kEntryKey);
}

// The product's shortcuts in the user's folders and in those for every user.
struct Shortcuts {
    std::string programs, desktop;
    explicit Shortcuts(bool allUsers)
        : programs(ShellFolder(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) + "\\Zelko Scrivora"),
          desktop(ShellFolder(allUsers ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY)) {}
    int Count() const {
        int n = 0;
        for (const char* name : {"Zelko Scrivora", "Morvalen Pad", "Zelko Scrivora UnInstall"}) {
            n += Exists(programs + "\\" + name + ".lnk");
        }
        for (const char* name : {"Zelko Scrivora", "Morvalen Pad"}) n += Exists(desktop + "\\" + name + ".lnk");
        return n;
    }
    void Remove() const {
        RemoveTree(programs);
        for (const char* name : {"Zelko Scrivora", "Morvalen Pad"}) DeleteFileA((desktop + "\\" + name + ".lnk").c_str());
    }
};

class SilentSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveEntries();
        Shortcuts(false).Remove();
        Shortcuts(true).Remove();
        target = temp / "Zelko Silent Test";
    }
    void TearDown() override {
        RemoveEntries();
        Shortcuts(false).Remove();
        Shortcuts(true).Remove();
    }

    std::string Install(const std::string& switches) { return kSetup + " " + switches + " /D=" + target; }

    // Runs the entry's QuietUninstallString as a tool does and waits until the
    // uninstaller's copy has removed the install folder.
    ProgramRun QuietUninstall(HKEY hive) {
        std::string command = EntryText(hive, "QuietUninstallString");
        ProgramRun run = RunLine(command);
        for (int i = 0; i < 300 && Exists(target); ++i) Sleep(100);
        return run;
    }

    TempFolder temp;
    std::string target;
};

TEST_F(SilentSetupTest, InstallsWithoutAWindowAndTheQuietUninstallRemovesEverything) {
    std::string log = temp / "setup log.txt";
    ProgramRun run = RunLine(kSetup + " /S \"/LOG=" + log + "\" /D=" + target);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(kSuccess, run.exitCode);
    EXPECT_EQ(0, run.windowsSeen);

    // The log: the first line, a line per file, the configuration, the
    // shortcuts, the entry, and the exit code last.
    std::vector<std::string> lines = Lines(ReadText(log));
    ASSERT_GE(lines.size(), 100u);
    EXPECT_EQ(0u, lines[0].rfind("setup 1.0.0.0, Windows NT ", 0)) << lines[0];
    EXPECT_NE(std::string::npos, lines[0].find(", code page ")) << lines[0];
    EXPECT_EQ("command line: " + kSetup + " /S \"/LOG=" + log + "\" /D=" + target, lines[1]);
    EXPECT_EQ(95, CountStarting(lines, "written "));
    EXPECT_EQ(1, CountStarting(lines, "written 9887458 pycizudic.idx"));
    EXPECT_EQ(1, CountStarting(lines, "configuration updated: zerezizu.ini"));
    EXPECT_EQ(5, CountStarting(lines, "shortcut "));
    EXPECT_EQ(1, CountStarting(lines, std::string("uninstall entry in HKEY_CURRENT_USER: ") + kEntryKey));
    EXPECT_EQ("exit code 0", lines.back());

    EXPECT_TRUE(Exists(target + "\\ZEKEdit.exe"));
    EXPECT_EQ(5, Shortcuts(false).Count());
    EXPECT_EQ(0, Shortcuts(true).Count());

    // The entry, for this user on this Windows (NT 6.1).
    EXPECT_FALSE(HasEntry(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(L"\u6cfd\u67ef\u5b81\u7075\u58a8\u7b3a Zelko Scrivora", EntryWideText(HKEY_CURRENT_USER, L"DisplayName"));
    EXPECT_EQ("1.0.0.0", EntryText(HKEY_CURRENT_USER, "DisplayVersion"));
    EXPECT_EQ("Zelko", EntryText(HKEY_CURRENT_USER, "Publisher"));
    EXPECT_EQ(target, EntryText(HKEY_CURRENT_USER, "InstallLocation"));
    EXPECT_EQ(target + "\\ZEKEdit.exe,0", EntryText(HKEY_CURRENT_USER, "DisplayIcon"));
    EXPECT_EQ("\"" + target + "\\ZEKEditUnInstall.exe\"", EntryText(HKEY_CURRENT_USER, "UninstallString"));
    EXPECT_EQ("\"" + target + "\\ZEKEditUnInstall.exe\" /S", EntryText(HKEY_CURRENT_USER, "QuietUninstallString"));
    EXPECT_EQ("1", EntryText(HKEY_CURRENT_USER, "NoModify"));
    EXPECT_EQ("1", EntryText(HKEY_CURRENT_USER, "NoRepair"));
    EXPECT_EQ(8u, EntryText(HKEY_CURRENT_USER, "InstallDate").size());
    int kilobytes = std::stoi(EntryText(HKEY_CURRENT_USER, "EstimatedSize"));
    EXPECT_GT(kilobytes, 14000);
    EXPECT_LT(kilobytes, 16000);

    // A second silent run over the first updates the same entry.
    run = RunLine(Install("/S"));
    EXPECT_EQ(kSuccess, run.exitCode);
    EXPECT_EQ(target, EntryText(HKEY_CURRENT_USER, "InstallLocation"));

    run = QuietUninstall(HKEY_CURRENT_USER);
    EXPECT_EQ(kSuccess, run.exitCode);
    EXPECT_EQ(0, run.windowsSeen);
    EXPECT_FALSE(Exists(target));
    EXPECT_EQ(0, Shortcuts(false).Count());
    EXPECT_FALSE(HasEntry(HKEY_CURRENT_USER));
}

TEST_F(SilentSetupTest, BadCommandLinesInstallNothing) {
    std::string tooLong = temp / std::string(MAX_PATH - temp.path().size() - 12, 'z');
    const struct {
        std::string switches;
        bool answer;   // interactive: the list of switches is shown and answered
    } cases[] = {
        {"/S /X /D=" + target, false},
        {"/S /D=", false},
        {"/S /LANG=fr /D=" + target, false},
        {"/S /D=" + tooLong, false},
        {"/X /D=" + target, true},
        {"/?", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.switches);
        ProgramRun run = RunLine(kSetup + " " + c.switches, c.answer);
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(kBadCommandLine, run.exitCode);
        EXPECT_EQ(c.answer ? 1 : 0, run.windowsSeen);
        EXPECT_FALSE(Exists(target));
        EXPECT_FALSE(Exists(tooLong));
        EXPECT_FALSE(HasEntry(HKEY_CURRENT_USER));
        EXPECT_EQ(0, Shortcuts(false).Count());
    }
}

TEST_F(SilentSetupTest, LogThatCannotBeOpenedDoesNotStopTheInstall) {
    ProgramRun run = RunLine(Install("/S \"/LOG=" + (temp / "no such folder\\setup.log") + "\""));
    EXPECT_EQ(kSuccess, run.exitCode);
    EXPECT_EQ(0, run.windowsSeen);
    EXPECT_TRUE(Exists(target + "\\ZEKEdit.exe"));
    EXPECT_FALSE(Exists(temp / "no such folder"));
    QuietUninstall(HKEY_CURRENT_USER);
}

TEST_F(SilentSetupTest, HeldProductFileIsRefusedBeforeAnyChange) {
    ASSERT_EQ(kSuccess, RunLine(Install("/S")).exitCode);
    // A learned dictionary: the first thing an install would delete.
    std::string learned = target + "\\pykeys.dic0001";
    std::ofstream(learned) << "learned words";
    std::string held = target + "\\Morvalen.exe";
    SetFileAttributesA(held.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE hold = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);

    std::string log = temp / "held.log";
    ProgramRun run = RunLine(Install("/S /LOG=" + log));
    CloseHandle(hold);
    EXPECT_EQ(kRefused, run.exitCode);
    EXPECT_EQ(0, run.windowsSeen);
    EXPECT_EQ("learned words", ReadText(learned));
    std::string text = ReadText(log);
    EXPECT_NE(std::string::npos, text.find("failed: open for writing, error 32: " + held)) << text;
    EXPECT_EQ(0, CountStarting(Lines(text), "written "));
    EXPECT_EQ("exit code 1618", Lines(text).back());

    // The uninstaller names a held file in its log and says so in its code.
    hold = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string uninstallLog = temp / "uninstall.log";
    run = RunLine(EntryText(HKEY_CURRENT_USER, "QuietUninstallString") + " /LOG=" + uninstallLog);
    EXPECT_EQ(kFailed, run.exitCode);
    EXPECT_EQ(0, run.windowsSeen);
    EXPECT_NE(std::string::npos, ReadText(uninstallLog).find("failed: delete, error 32: " + held));
    CloseHandle(hold);
}

TEST_F(SilentSetupTest, TwoSetupsAtOnceInstallOnce) {
    std::string first = temp / "first.log", second = temp / "second.log";
    StartedProgram a = StartProgram(Install("/S /LOG=" + first));
    StartedProgram b = StartProgram(Install("/S /LOG=" + second));
    ProgramRun runA = WatchStarted(a, 120), runB = WatchStarted(b, 120);
    std::vector<DWORD> codes = {runA.exitCode, runB.exitCode};
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ((std::vector<DWORD>{kSuccess, kRefused}), codes);
    EXPECT_TRUE(Exists(target + "\\ZEKEdit.exe"));
    // The one refused wrote nothing, and its log says why.
    std::vector<std::string> refused = Lines(ReadText(runA.exitCode == kRefused ? first : second));
    EXPECT_EQ(0, CountStarting(refused, "written "));
    EXPECT_EQ(1, CountStarting(refused, "refused before any change: another setup or uninstaller is running"));
    ASSERT_FALSE(refused.empty());
    EXPECT_EQ("exit code 1618", refused.back());
    QuietUninstall(HKEY_CURRENT_USER);
}

TEST_F(SilentSetupTest, AllUsersPutsShortcutsAndEntryWithTheMachine) {
    ProgramRun run = RunLine(Install("/S /ALLUSERS"));
    EXPECT_EQ(kSuccess, run.exitCode);
    EXPECT_EQ(5, Shortcuts(true).Count());
    EXPECT_EQ(0, Shortcuts(false).Count());
    EXPECT_TRUE(HasEntry(HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(HasEntry(HKEY_CURRENT_USER));

    run = QuietUninstall(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(kSuccess, run.exitCode);
    EXPECT_FALSE(Exists(target));
    EXPECT_EQ(0, Shortcuts(true).Count());
    EXPECT_FALSE(HasEntry(HKEY_LOCAL_MACHINE));
}

}  // namespace
