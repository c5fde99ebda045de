// The whole installation through the real installer's wizard under Wine: the settings page, the
// progress page over real downloads and Windows Installer, the finish page and Start Now, and
// the exit code the run ends with.
#include "app/SingleInstance.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/selfupdate/SelfUpdateFixture.h"
#include "tests/support/InstallerProcess.h"
#include "tests/support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace enginetest;
using namespace nvxtest;
using selfupdatetest::CopyStartRecorder;
using selfupdatetest::ReadStartRecord;
using selfupdatetest::WaitForStartRecord;

namespace {

constexpr DWORD kTimeout = 120000;
constexpr int kInstallButton = 133;
constexpr int kTermsCheck = 134;
constexpr int kFolderEdit = 143;
constexpr int kStatusLabel = 122;
constexpr int kPercentLabel = 123;
constexpr int kTimeLabel = 173;
constexpr int kStartNow = 1;
constexpr wchar_t kHomepage[] = L"http://127.0.0.1/lumetra/welcome.html";

// The served product, the installer copy with its manifest, and a browser that records what it
// is asked to open.
class WizardEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        manifest_ = BaseManifest();
        manifest_.version_check_url = served_.ServeText(VersionXml(), L"version.xml");
        manifest_.main_component_url = served_.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
        folder_.WriteManifest(manifest_);
        ASSERT_TRUE(::CopyFileW(InstallerExePath().c_str(), folder_.module_path().c_str(), FALSE));
        browser_ = folder_.scratch() + L"\\browser.exe";
        ASSERT_TRUE(CopyStartRecorder(browser_));
        ASSERT_TRUE(http_open_.SetString(L"\"" + browser_ + L"\" \"%1\""));
    }

    std::wstring InstalledProgram() const { return ChosenInstallFolder() + L"\\Lumetra.exe"; }

    // Runs from the settings page with the chosen folder; answers the shown wizard.
    HWND StartAndInstall(CInstallerProcess& installer) {
        EXPECT_TRUE(installer.Start(L"/n", folder_.module_path()));
        HWND guide = installer.WaitForShownWindow(kInstallerWindowClass, kTimeout);
        if (!guide)
            return nullptr;
        HWND folder = WaitForShownControl(guide, kFolderEdit, kTimeout);
        HWND install = FindShownControl(guide, kInstallButton);
        EXPECT_TRUE(folder && install) << "no settings page";
        if (!folder || !install)
            return nullptr;
        ::SendMessageW(folder, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ChosenInstallFolder().c_str()));
        PressButton(install);
        return guide;
    }

    CCleanMachine machine_;
    CFixtureLog log_;
    CServedFolder served_;
    CInstallerFolder folder_;
    ManifestInfo manifest_;
    std::wstring browser_;
    // Wine opens web addresses through the machine-wide class only.
    CScopedRegistryValue http_open_{HKEY_LOCAL_MACHINE, L"Software\\Classes\\http\\shell\\open\\command",
                                    L""};
};

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
    HWND box = installer.WaitForMessageBox(kTimeout, L"download server");
    ASSERT_TRUE(box) << "no connection message";
    PressButton(FindChildByText(box, L"OK"));
    DWORD exit_code = 0;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 1603u);
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

} // namespace
