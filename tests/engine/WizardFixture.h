#pragma once
// The real installer driven through its wizard under Wine: the product served by the loopback
// nginx, a copy of the installer with its manifest, the machine cleaned before and after, and a
// browser that records the addresses it is asked to open.
#include "config/ManifestInfo.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/InstallerProcess.h"
#include "tests/support/ScopedSettings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace enginetest {

inline constexpr DWORD kWizardTimeout = 120000;

// Controls of the wizard's pages.
inline constexpr int kInstallButton = 133;
inline constexpr int kTermsCheck = 134;
inline constexpr int kSettingsCaption = 136;
inline constexpr int kSettingsToggle = 138;
inline constexpr int kFolderEdit = 143;
inline constexpr int kBrowseButton = 148;
inline constexpr int kTermsLink = 152;
inline constexpr int kStatusLabel = 122;
inline constexpr int kPercentLabel = 123;
inline constexpr int kTimeLabel = 173;
inline constexpr int kStartNow = 1;

class WizardFixture : public testing::Test {
protected:
    void SetUp() override;

    std::wstring InstalledProgram() const { return ChosenInstallFolder() + L"\\Lumetra.exe"; }

    // Starts the installer (by default without its own version check) and waits for the
    // settings page; answers the shown wizard.
    HWND StartOnSettingsPage(nvxtest::CInstallerProcess& installer, const std::wstring& arguments = L"/n");
    // Types a folder and presses Install.
    static void InstallInto(HWND guide, const std::wstring& folder);
    // Runs from the settings page into the chosen folder; answers the shown wizard.
    HWND StartAndInstall(nvxtest::CInstallerProcess& installer);
    // Installs the product silently, as an earlier run would have.
    void InstallSilently();

    CCleanMachine machine_;
    CFixtureLog log_;
    CServedFolder served_;
    CInstallerFolder folder_;
    ManifestInfo manifest_;
    std::wstring browser_;
    // Wine opens web addresses through the machine-wide class only.
    nvxtest::CScopedRegistryValue http_open_{HKEY_LOCAL_MACHINE,
                                             L"Software\\Classes\\http\\shell\\open\\command", L""};
};

} // namespace enginetest
