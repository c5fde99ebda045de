// The real installer started while another process holds the single-instance semaphore.
#include "app/SingleInstance.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

using namespace nvxtest;

namespace {

// Plays the first copy: holds the semaphore and, optionally, owns a window of the class a
// second copy searches for.
class FirstCopy {
public:
    FirstCopy() : semaphore_(::CreateSemaphoreW(nullptr, 0, 1, kInstanceSemaphoreName)) {}
    ~FirstCopy() {
        if (window_)
            ::DestroyWindow(window_);
        if (registered_)
            ::UnregisterClassW(kInstallerWindowClass, ::GetModuleHandleW(nullptr));
    }

    HWND CreateMinimisedWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kInstallerWindowClass;
        registered_ = ::RegisterClassW(&wc) != 0;
        window_ = ::CreateWindowExW(0, kInstallerWindowClass, L"first copy", WS_OVERLAPPEDWINDOW, 100, 100,
                                    300, 200, nullptr, nullptr, wc.hInstance, nullptr);
        ::ShowWindow(window_, SW_SHOWMINIMIZED);
        WaitUntil([&] { return ::IsIconic(window_) != FALSE; }, 5000);
        return window_;
    }

    bool HoldsSemaphore() const { return static_cast<bool>(semaphore_); }

private:
    nvx::UniqueHandle semaphore_;
    HWND window_ = nullptr;
    bool registered_ = false;
};

// Runs a second copy to its end and answers whether it ever showed a window.
bool RunSecondCopy(DWORD* exit_code) {
    CInstallerProcess second;
    EXPECT_TRUE(second.Start(L"/n"));
    bool showed_window = false;
    DWORD start = ::GetTickCount();
    while (second.IsRunning() && ::GetTickCount() - start < 30000) {
        for (HWND hwnd : second.TopLevelWindows())
            showed_window |= ::IsWindowVisible(hwnd) != FALSE;
        PumpMessages(10);
    }
    EXPECT_TRUE(second.WaitForExit(1000, exit_code)) << "the second copy did not end";
    return showed_window;
}

TEST(SingleInstance, SecondCopyRestoresTheFirstCopysWindowAndEndsSilently) {
    FirstCopy first;
    ASSERT_TRUE(first.HoldsSemaphore());
    HWND window = first.CreateMinimisedWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(::IsIconic(window));

    DWORD exit_code = 0;
    EXPECT_FALSE(RunSecondCopy(&exit_code));
    EXPECT_EQ(exit_code, 1618u) << "another installation is running";
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(window); }, 5000));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(::GetForegroundWindow(), window);
}

TEST(SingleInstance, SecondCopyWithoutAWindowToFindEndsSilently) {
    FirstCopy first;
    ASSERT_TRUE(first.HoldsSemaphore());
    DWORD exit_code = 0;
    EXPECT_FALSE(RunSecondCopy(&exit_code));
    EXPECT_EQ(exit_code, 1618u) << "another installation is running";
}

TEST(SingleInstance, RealFirstCopyIsBroughtBackByASecondStart) {
    CInstallerProcess first;
    ASSERT_TRUE(first.Start(L"/n"));
    HWND guide = first.WaitForShownWindow(kInstallerWindowClass, 30000);
    ASSERT_TRUE(guide) << "the installer's main window was not shown";
    ::ShowWindow(guide, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(guide) != FALSE; }, 5000));

    DWORD exit_code = 0;
    EXPECT_FALSE(RunSecondCopy(&exit_code));
    EXPECT_EQ(exit_code, 1618u) << "another installation is running";
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(guide); }, 5000));
    EXPECT_TRUE(first.IsRunning());

    ASSERT_TRUE(CloseWizardConfirming(first, guide, 30000));
    EXPECT_TRUE(first.WaitForExit(30000));
}

} // namespace
