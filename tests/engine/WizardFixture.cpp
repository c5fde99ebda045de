#include "tests/engine/WizardFixture.h"

#include "app/SingleInstance.h"
#include "tests/selfupdate/SelfUpdateFixture.h"

using namespace nvxtest;

namespace enginetest {

void WizardFixture::SetUp() {
    manifest_ = BaseManifest();
    manifest_.version_check_url = served_.ServeText(VersionXml(), L"version.xml");
    manifest_.main_component_url = served_.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi");
    folder_.WriteManifest(manifest_);
    ASSERT_TRUE(::CopyFileW(InstallerExePath().c_str(), folder_.module_path().c_str(), FALSE));
    browser_ = folder_.scratch() + L"\\browser.exe";
    ASSERT_TRUE(selfupdatetest::CopyStartRecorder(browser_));
    ASSERT_TRUE(http_open_.SetString(L"\"" + browser_ + L"\" \"%1\""));
}

HWND WizardFixture::StartOnSettingsPage(CInstallerProcess& installer, const std::wstring& arguments) {
    EXPECT_TRUE(installer.Start(arguments, folder_.module_path()));
    HWND guide = installer.WaitForShownWindow(kInstallerWindowClass, kWizardTimeout);
    EXPECT_TRUE(guide && WaitForShownControl(guide, kFolderEdit, kWizardTimeout)) << "no settings page";
    return guide;
}

void WizardFixture::InstallInto(HWND guide, const std::wstring& folder) {
    HWND edit = FindShownControl(guide, kFolderEdit);
    ASSERT_TRUE(edit);
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    PressButton(FindShownControl(guide, kInstallButton));
}

HWND WizardFixture::StartAndInstall(CInstallerProcess& installer) {
    HWND guide = StartOnSettingsPage(installer);
    if (guide)
        InstallInto(guide, ChosenInstallFolder());
    return guide;
}

void WizardFixture::InstallSilently() {
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /s", folder_.module_path()));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kWizardTimeout, &exit_code));
    ASSERT_EQ(exit_code, 0u);
}

} // namespace enginetest
