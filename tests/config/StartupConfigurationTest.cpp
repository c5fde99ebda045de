// The real installer reads the demo product next to it at start-up: the local folders it
// prepares exist by the time its window shows.
#include "tests/support/InstallerProcess.h"

#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <filesystem>

using namespace nvxtest;

namespace {

TEST(StartupConfiguration, PreparesTheLocalFoldersBeforeTheWizard) {
    const std::wstring folder = BuildFolder();
    ASSERT_TRUE(::PathFileExistsW((folder + L"\\config\\manifestPro.xml").c_str()))
        << "demo product not copied";
    // Earlier runs (a demo, an installer ended midway) may have left files in them.
    for (const wchar_t* name : {L"\\component", L"\\msi", L"\\transform"}) {
        std::error_code error;
        std::filesystem::remove_all(std::filesystem::path(folder + name), error);
        ASSERT_FALSE(::PathFileExistsW((folder + name).c_str()))
            << "cannot clear " << testing::PrintToString(folder + name);
    }

    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n"));
    HWND guide = installer.WaitForWindow(kInstallerWindowClass, L"", 30000);
    ASSERT_TRUE(guide) << "the installer's window did not appear";
    for (const wchar_t* name : {L"\\component", L"\\msi", L"\\transform"})
        EXPECT_TRUE(::PathIsDirectoryW((folder + name).c_str())) << testing::PrintToString(name);

    ASSERT_TRUE(CloseWizardConfirming(installer, guide, 30000));
    EXPECT_TRUE(installer.WaitForExit(30000));
}

} // namespace
