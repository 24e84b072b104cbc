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

void InstallPressTest::PressInstall(const std::string& folder, int answer) {
    installFolder_ = folder;
    ASSERT_TRUE(SetDlgItemTextA(dialog, IDC_FOLDER_PATH, folder.c_str()));
    CheckDlgButton(dialog, IDC_DESKTOP_ICONS, BST_CHECKED);
    g_wizardPage = kPageLanguage;
    ShowPage(dialog, kPageLanguage);
    ResetMessages(answer);
    Command(dialog, IDC_NEXT);
}

void InstallPressTest::ExpectFailureShown(const std::vector<MessageRow>& before) {
    std::vector<ShownMessage> expected;
    for (MessageRow row : before) expected.push_back(ExpectedMessage(row, dialog));
    expected.push_back(ExpectedMessage(kMsgInstallFailed, dialog));
    EXPECT_EQ(expected, g_shownMessages);
    EXPECT_EQ(kPageEnd, g_wizardPage);
    ExpectNoShortcuts();
}
