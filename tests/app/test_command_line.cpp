// The setup program's command line as deployment tools send it: switches in
// any case, /D= taking the rest of the line with its spaces, values in
// quotes, and every line setup must refuse before it installs anything.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"

namespace {

struct Case {
    const char* line;
    bool understood;
    bool silent, allUsers, help, noDesktop;
    int language;
    const char* folder;
    const char* log;
};

const std::string kLongFolder = "C:\\" + std::string(MAX_PATH, 'a');

TEST(CommandLineTest, SwitchesAsToolsSendThem) {
    const Case cases[] = {
        {"setup.exe", true, false, false, false, false, -1, "", ""},
        {"\"C:\\My Downloads\\setup.exe\"", true, false, false, false, false, -1, "", ""},
        {"\"C:\\My Downloads\\setup.exe\"/S", true, true, false, false, false, -1, "", ""},
        {"setup.exe /S", true, true, false, false, false, -1, "", ""},
        {"setup.exe /s /allusers /NoDesktop", true, true, true, false, true, -1, "", ""},
        {"setup.exe /S /D=C:\\Program Files\\Zelko Scrivora  ", true, true, false, false, false, -1,
         "C:\\Program Files\\Zelko Scrivora", ""},
        // /D= is last: what follows it is the folder, switches or not.
        {"setup.exe /D=C:\\a /S", true, false, false, false, false, -1, "C:\\a /S", ""},
        {"setup.exe /S \"/D=C:\\Program Files\\Zelko\"", true, true, false, false, false, -1,
         "C:\\Program Files\\Zelko", ""},
        {"setup.exe /LOG=C:\\setup.log /S", true, true, false, false, false, -1, "", "C:\\setup.log"},
        {"setup.exe /LOG=\"C:\\My logs\\setup.log\" /S", true, true, false, false, false, -1, "",
         "C:\\My logs\\setup.log"},
        {"setup.exe \"/LOG=C:\\My logs\\setup.log\"", true, false, false, false, false, -1, "",
         "C:\\My logs\\setup.log"},
        {"setup.exe /LANG=en /S", true, true, false, false, false, 0, "", ""},
        {"setup.exe /LANG=ZH-CN", true, false, false, false, false, 1, "", ""},
        {"setup.exe /lang=zh-tw", true, false, false, false, false, 2, "", ""},
        {"setup.exe /?", true, false, false, true, false, -1, "", ""},
        // Refused: nothing may be installed after any of these.
        {"setup.exe /S /X", false},
        {"setup.exe /SILENT", false},
        {"setup.exe /S /D=", false},
        {"setup.exe /S /D=   ", false},
        {"setup.exe /S /LOG=", false},
        {"setup.exe /LANG=fr /S", false},
        {"setup.exe /LANG=ZH /S", false},
        {"setup.exe S", false},
        {"setup.exe /S/D=C:\\a", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CommandLine command;
        ASSERT_EQ(c.understood, ParseCommandLine(c.line, &command));
        if (!c.understood) continue;
        EXPECT_EQ(c.silent, command.silent);
        EXPECT_EQ(c.allUsers, command.allUsers);
        EXPECT_EQ(c.help, command.help);
        EXPECT_EQ(c.noDesktop, command.noDesktopIcons);
        EXPECT_EQ(c.language, command.language);
        EXPECT_STREQ(c.folder, command.folder);
        EXPECT_STREQ(c.log, command.log);
    }
}

TEST(CommandLineTest, ValuesThatDoNotFitAreRefusedNotCut) {
    CommandLine command;
    std::string fits = "C:\\" + std::string(MAX_PATH - 4, 'a');
    EXPECT_TRUE(ParseCommandLine(("setup.exe /S /D=" + fits).c_str(), &command));
    EXPECT_EQ(fits, command.folder);
    EXPECT_FALSE(ParseCommandLine(("setup.exe /S /D=" + fits + "a").c_str(), &command));
    EXPECT_FALSE(ParseCommandLine(("setup.exe /S /LOG=" + kLongFolder).c_str(), &command));
    EXPECT_FALSE(ParseCommandLine(("setup.exe /S /" + kLongFolder).c_str(), &command));
}

}  // namespace
