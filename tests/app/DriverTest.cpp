// The test support finds and answers message boxes of another process.
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

using namespace nvxtest;

TEST(TestSupport, FindsAMessageBoxReadsItAndPressesAButton) {
    CInstallerProcess process;
    ASSERT_TRUE(process.Start(L"message-box \"Proceed with the demo?\"", BuildFolder() + L"\\drive.exe"));
    // The box is found only once it shows its text: it exists earlier, still blank.
    HWND box = process.WaitForMessageBox(30000, L"Proceed with the demo?");
    ASSERT_TRUE(box) << "no message box with the text appeared";
    EXPECT_EQ(WindowText(box), L"drive");
    HWND no = FindChildByText(box, L"No");
    ASSERT_TRUE(no);
    EXPECT_TRUE(IsUsable(no));
    PressButton(no);
    DWORD exit_code = 0;
    ASSERT_TRUE(process.WaitForExit(10000, &exit_code));
    EXPECT_EQ(exit_code, static_cast<DWORD>(IDNO));
}

TEST(TestSupport, AMessageBoxWithOtherTextIsNotTakenForTheOneAwaited) {
    CInstallerProcess process;
    ASSERT_TRUE(process.Start(L"message-box \"Something else\"", BuildFolder() + L"\\drive.exe"));
    // Settled on screen with its own text, so the wait for another text has nothing to find.
    HWND other = process.WaitForMessageBox(30000, L"Something else");
    ASSERT_TRUE(other);
    EXPECT_EQ(process.WaitForMessageBox(0, L"Proceed with the demo?"), nullptr);
    PressButton(FindChildByText(other, L"Yes"));
    DWORD exit_code = 0;
    ASSERT_TRUE(process.WaitForExit(10000, &exit_code));
    EXPECT_EQ(exit_code, static_cast<DWORD>(IDYES));
}
