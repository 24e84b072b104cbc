// The Install press on the real wizard; see install_press.h.
#include "install_press.h"

#include "app/globals.h"
#include "resources/resource_ids.h"
#include "wizard/pages.h"
#include "wizard/wizard_fixture.h"

void InstallPressTest::SetUp() {
    FaultRunTest::SetUp();
    dialog = CreateWizardForTest(0);
    ASSERT_NE(nullptr, dialog);
}

void InstallPressTest::TearDown() {
    DestroyWizardForTest();
    // The sequence enters an existing install folder; leave it, so that the
    // folder (or the drive it is on) can be removed.
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n > 0 && n < MAX_PATH) SetCurrentDirectoryA(temp);
    FaultRunTest::TearDown();
}

void InstallPressTest::PressInstall(const std::string& folder) {
    installFolder_ = folder;
    ASSERT_TRUE(SetDlgItemTextA(dialog, IDC_FOLDER_PATH, folder.c_str()));
    CheckDlgButton(dialog, IDC_DESKTOP_ICONS, BST_CHECKED);
    g_wizardPage = kPageLanguage;
    ShowPage(dialog, kPageLanguage);
    ResetMessages(IDOK);
    Command(dialog, IDC_NEXT);
}

void InstallPressTest::ExpectFailureShown() {
    ASSERT_EQ(1u, g_shownMessages.size()) << "one message, the failure";
    EXPECT_EQ(ExpectedMessage(kMsgInstallFailed, dialog), g_shownMessages[0]);
    EXPECT_EQ(kPageEnd, g_wizardPage);
    if (FileExists(file("zerezizu.ini"))) {
        EXPECT_EQ(PayloadBytes(120), ReadBytes(file("zerezizu.ini"))) << "configuration updated";
    }
    ExpectNoShortcuts();
}
