// Start-up of the real installer: switches reach the wizard window.
#include "app/SingleInstance.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

using namespace nvxtest;

namespace {

TEST(Startup, WizardWindowCarriesTheProductNameAndClosesOnRequest) {
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n"));
    HWND guide = installer.WaitForShownWindow(kInstallerWindowClass, 30000);
    ASSERT_TRUE(guide) << "the wizard window was not shown";
    EXPECT_EQ(WindowText(guide), L"Lumetra Professional"); // full name from the manifest next to it
    ASSERT_TRUE(CloseWizardConfirming(installer, guide, 30000));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(30000, &exit_code));
    EXPECT_EQ(exit_code, 1602u);
}

TEST(Startup, SilentSwitchInAnyCaseHidesTheWizardAndKeepsItOffTheTaskbar) {
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/N /S"));
    // Found once its thread has answered messages after creating it: by then the window has
    // been initialised and the dialog manager has had its chance to show it.
    HWND guide = installer.WaitForWindow(kInstallerWindowClass, L"", 30000);
    ASSERT_TRUE(guide);
    EXPECT_FALSE(::IsWindowVisible(guide));
    LONG_PTR ex_style = ::GetWindowLongPtrW(guide, GWL_EXSTYLE);
    EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ex_style & WS_EX_APPWINDOW);
    ASSERT_TRUE(CloseWizardConfirming(installer, guide, 30000));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(60000, &exit_code));
    EXPECT_EQ(exit_code, 1602u);
}

} // namespace
