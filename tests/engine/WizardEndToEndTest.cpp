// The whole installation through the real installer's wizard under Wine: the settings page, the
// progress page over real downloads and Windows Installer, the finish page and Start Now, and
// the exit code the run ends with.
#include "app/SingleInstance.h"
#include "config/RegistryKey.h"
#include "tests/engine/WizardFixture.h"
#include "tests/selfupdate/SelfUpdateFixture.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

using namespace enginetest;
using namespace nvxtest;
using selfupdatetest::CopyStartRecorder;
using selfupdatetest::ReadStartRecord;
using selfupdatetest::WaitForStartRecord;

namespace {

constexpr DWORD kTimeout = kWizardTimeout;

using WizardEndToEnd = WizardFixture;

TEST_F(WizardEndToEnd, SettingsProgressFinishAndStartNow) {
    CInstallerProcess installer;
    HWND guide = StartAndInstall(installer);
    ASSERT_TRUE(guide);

    HWND status = WaitForShownControl(guide, kStatusLabel, kTimeout);
    ASSERT_TRUE(status) << "the progress page was not shown";
    EXPECT_FALSE(FindShownControl(guide, kInstallButton)) << "the settings page is still shown";
    // Percent with one decimal and a time text once the refresh runs.
    // Held from here on: the labels keep their texts when the finish page hides them.
    HWND percent = FindShownControl(guide, kPercentLabel);
    HWND time = FindShownControl(guide, kTimeLabel);
    ASSERT_TRUE(percent && time);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(percent).find(L'%') != std::wstring::npos; }, kTimeout));
    const std::wstring percent_text = WindowText(percent);
    EXPECT_NE(percent_text.find(L'.'), std::wstring::npos) << testing::PrintToString(percent_text);
    EXPECT_FALSE(WindowText(time).empty());

    HWND start_now = WaitForShownControl(guide, kStartNow, kTimeout);
    ASSERT_TRUE(start_now) << "the finish page was not shown; status: "
                           << testing::PrintToString(WindowText(status));
    ASSERT_TRUE(FileExists(InstalledProgram())) << "the product was not installed";
    // The installed program becomes a recorder, so that its start can be seen.
    ASSERT_TRUE(CopyStartRecorder(InstalledProgram()));
    PressButton(start_now);

    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    auto opened = WaitForStartRecord(browser_, 30000);
    ASSERT_TRUE(opened) << "the home page was not opened";
    EXPECT_NE((*opened)[L"args"].find(kHomepage), std::wstring::npos)
        << testing::PrintToString((*opened)[L"args"]);
    EXPECT_TRUE(WaitForStartRecord(InstalledProgram(), 30000)) << "the product was not started";
    EXPECT_EQ(InstalledVersion(manifest_.product_code), L"17.0.0.100");
}

TEST_F(WizardEndToEnd, SilentRunShowsNothingAndEndsWithSuccess) {
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /s", folder_.module_path()));
    bool shown = false;
    DWORD start = ::GetTickCount();
    while (installer.IsRunning() && ::GetTickCount() - start < kTimeout) {
        for (HWND hwnd : installer.TopLevelWindows())
            shown |= ::IsWindowVisible(hwnd) != FALSE;
        PumpMessages(10);
    }
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(1000, &exit_code));
    EXPECT_FALSE(shown) << "a window was shown";
    EXPECT_EQ(exit_code, 0u);
    EXPECT_EQ(InstalledVersion(manifest_.product_code), L"17.0.0.100") << "the product was not installed";
    EXPECT_FALSE(ReadStartRecord(browser_)) << "a silent run opened a web page";
}

TEST_F(WizardEndToEnd, SilentRunAgainstADownServerEndsWithFailure) {
    manifest_.version_check_url = L"http://127.0.0.1:1/version.xml";
    folder_.WriteManifest(manifest_);
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/s", folder_.module_path()));
    EXPECT_EQ(installer.AnswerBoxAndWaitForExit(kTimeout, L"download server"), 1603u)
        << "no connection message";
    EXPECT_FALSE(FileExists(InstalledProgram()));
}

TEST_F(WizardEndToEnd, ClosingTheProgressPageBeforeTheStartCancels) {
    CInstallerProcess installer;
    HWND guide = StartAndInstall(installer);
    ASSERT_TRUE(guide);
    ASSERT_TRUE(WaitForShownControl(guide, kStatusLabel, kTimeout));
    ASSERT_TRUE(CloseWizardConfirming(installer, guide, kTimeout));
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1602u);
    EXPECT_FALSE(FileExists(InstalledProgram())) << "a cancelled run installed the product";
}

TEST_F(WizardEndToEnd, AnsweringNoKeepsTheSettingsPage) {
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n", folder_.module_path()));
    HWND guide = installer.WaitForShownWindow(kInstallerWindowClass, kTimeout);
    ASSERT_TRUE(guide);
    ASSERT_TRUE(WaitForShownControl(guide, kInstallButton, kTimeout));
    ::PostMessageW(guide, WM_CLOSE, 0, 0);
    HWND box = installer.WaitForMessageBox(kTimeout, L"cancel the installation");
    ASSERT_TRUE(box);
    PressButton(FindChildByText(box, L"No"));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, kTimeout));
    EXPECT_TRUE(installer.IsRunning());
    EXPECT_TRUE(FindShownControl(guide, kInstallButton));
    // Terms unticked: Install is off and pressing it does nothing.
    HWND check = FindShownControl(guide, kTermsCheck);
    ASSERT_TRUE(check);
    PressButton(check);
    HWND install = FindShownControl(guide, kInstallButton);
    ASSERT_TRUE(WaitUntil(
        [&] { return !::IsWindowEnabled(install) || !FindShownControl(guide, kStatusLabel); }, 5000));
    PressButton(install);
    PumpMessages(500);
    EXPECT_FALSE(FindShownControl(guide, kStatusLabel)) << "Install worked without the terms accepted";
    ASSERT_TRUE(CloseWizardConfirming(installer, guide, kTimeout));
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1602u);
}

TEST_F(WizardEndToEnd, ConsentRegionStartsWithTheTermsUnaccepted) {
    const struct {
        const wchar_t* nation;
        bool accepted;
    } cases[] = {{L"94", false}, {L"244", true}, {L"", true}};
    CScopedRegistryValue nation(HKEY_CURRENT_USER, L"Control Panel\\International\\Geo", L"Nation");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.nation)));
        ASSERT_TRUE(nation.SetString(c.nation));
        CInstallerProcess installer;
        HWND guide = StartOnSettingsPage(installer);
        ASSERT_TRUE(guide);
        // Install only works with the terms accepted; a folder that fails the check would show a
        // box, so the folder is left as it is and never checked here.
        PressButton(FindShownControl(guide, kInstallButton));
        EXPECT_EQ(WaitForShownControl(guide, kStatusLabel, 3000) != nullptr, c.accepted);
        ASSERT_TRUE(CloseWizardConfirming(installer, guide, kTimeout));
        ASSERT_TRUE(installer.WaitForExit(kTimeout));
    }
}

TEST_F(WizardEndToEnd, FolderCheckRefusesAndRestoresOrCreatesTheFolder) {
    CInstallerProcess installer;
    HWND guide = StartOnSettingsPage(installer);
    ASSERT_TRUE(guide);
    HWND edit = FindShownControl(guide, kFolderEdit);
    const std::wstring accepted = ControlText(edit);
    ASSERT_FALSE(accepted.empty());
    const std::wstring file = folder_.scratch() + L"\\a-file";
    ASSERT_TRUE(CopyStartRecorder(file));
    const std::wstring refused[] = {L"relative\\folder", file + L"\\below",
                                    std::wstring(1000, L'x').insert(0, L"C:\\")};
    for (const std::wstring& folder : refused) {
        SCOPED_TRACE(testing::PrintToString(folder.substr(0, 40)));
        InstallInto(guide, folder);
        HWND box = installer.WaitForMessageBox(kTimeout, L"The specified path");
        ASSERT_TRUE(box);
        EXPECT_NE(ChildTexts(box).find(L"The specified path " + folder.substr(0, 20)), std::wstring::npos);
        PressButton(FindChildByText(box, L"OK"));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, kTimeout));
        EXPECT_EQ(ControlText(edit), accepted) << "the last accepted folder was not put back";
        EXPECT_FALSE(FindShownControl(guide, kStatusLabel));
    }
    // Only the scratch folder exists: every level below it is made, and the page moves on.
    const std::wstring nested = folder_.scratch() + L"\\a\\b\\c\\";
    InstallInto(guide, nested);
    ASSERT_TRUE(WaitForShownControl(guide, kStatusLabel, kTimeout));
    EXPECT_TRUE(::PathIsDirectoryW((folder_.scratch() + L"\\a\\b\\c").c_str()));
    ASSERT_TRUE(CloseWizardConfirming(installer, guide, kTimeout));
    ASSERT_TRUE(installer.WaitForExit(kTimeout));
}

TEST_F(WizardEndToEnd, InstalledProductStartsOnTheProgressPageAndLaunchesWithL) {
    InstallSilently();
    ASSERT_FALSE(InstalledVersion(manifest_.product_code).empty());
    {
        CInstallerProcess installer;
        ASSERT_TRUE(installer.Start(L"/n", folder_.module_path()));
        HWND guide = installer.WaitForShownWindow(kInstallerWindowClass, kTimeout);
        ASSERT_TRUE(guide);
        ASSERT_TRUE(WaitForShownControl(guide, kStatusLabel, kTimeout)) << "not the progress page";
        EXPECT_FALSE(FindShownControl(guide, kInstallButton));
        HWND start_now = WaitForShownControl(guide, kStartNow, kTimeout);
        ASSERT_TRUE(start_now);
        PressButton(start_now);
        ASSERT_TRUE(installer.WaitForExit(kTimeout));
        PumpMessages(1000);
        EXPECT_FALSE(ReadStartRecord(browser_)) << "an update opened the home page";
    }
    // The product lands in the default folder of a silent run; it becomes a recorder.
    std::wstring program;
    {
        RegistryKey key(HKEY_LOCAL_MACHINE, kProductKey);
        program = key.ReadString(L"InstallDir").value_or(L"");
    }
    if (program.empty())
        program = L"C:\\Program Files\\NVX Systems";
    if (program.back() == L'\\')
        program.pop_back();
    program += L"\\Lumetra.exe";
    ASSERT_TRUE(CopyStartRecorder(program)) << testing::PrintToString(program);
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /l", folder_.module_path()));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_TRUE(WaitForStartRecord(program, 30000)) << "/l did not start the product";
}

} // namespace
