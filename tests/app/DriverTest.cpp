// The test support finds and answers message boxes of another process.
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

using namespace nvxtest;

TEST(TestSupport, FindsAMessageBoxReadsItAndPressesAButton) {
    CInstallerProcess process;
    ASSERT_TRUE(process.Start(L"message-box \"Proceed with the demo?\"", BuildFolder() + L"\\drive.exe"));
    HWND box = process.WaitForMessageBox(30000);
    ASSERT_TRUE(box);
    EXPECT_NE(ChildTexts(box).find(L"Proceed with the demo?"), std::wstring::npos);
    HWND no = FindChildByText(box, L"No");
    ASSERT_TRUE(no);
    PressButton(no);
    DWORD exit_code = 0;
    ASSERT_TRUE(process.WaitForExit(10000, &exit_code));
    EXPECT_EQ(exit_code, static_cast<DWORD>(IDNO));
}
