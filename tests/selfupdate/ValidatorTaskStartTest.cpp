// The validator in this process, with a check that cannot get a thread: it must still close by
// itself and end the run as a failed check, shown or silent.
#include "app/SingleInstance.h"
#include "config/InstallConfig.h"
#include "selfupdate/ClientValidator.h"
#include "tests/skin/SkinTestWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <system_error>
#include <thread>

namespace {

constexpr DWORD kTimeout = 30000;

class CThreadlessValidator : public CClientValidator {
public:
    using CClientValidator::CClientValidator;
    HWND window = nullptr;

protected:
    std::future<void> StartValidationTask(const ValidationTaskContext&) override {
        window = GetSafeHwnd();
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

// Runs the validator's modal loop on this thread. A validator that never closes is ended from
// outside after the timeout (a quit message ends any modal loop), so the test fails instead
// of hanging; `closed_by_itself` tells the two apart.
struct ModalRun {
    bool closed_by_itself = false;
};

ModalRun RunModal(CClientValidator& validator) {
    std::atomic<bool> returned{false};
    const DWORD thread = ::GetCurrentThreadId();
    std::atomic<bool> quit_posted{false};
    std::thread watchdog([&] {
        const DWORD start = ::GetTickCount();
        while (!returned && ::GetTickCount() - start < kTimeout)
            ::Sleep(10);
        if (!returned) {
            quit_posted = true;
            ::PostThreadMessageW(thread, WM_QUIT, 0, 0);
        }
    });
    validator.DoModal();
    returned = true;
    watchdog.join();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return ModalRun{!quit_posted};
}

class ValidatorTaskStart : public skintest::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        // The validator's template names the installer's window class (already there when
        // another test of this process registered it).
        RegisterInstallerWindowClass();
        WNDCLASSW registered{};
        ASSERT_TRUE(::GetClassInfoW(::GetModuleHandleW(nullptr), kInstallerWindowClass, &registered));
        config_.manifest.short_name = L"Lumetra";
    }

    CInstallConfig config_;
    LaunchOptions options_;
};

TEST_F(ValidatorTaskStart, ACheckWithoutAThreadClosesTheValidatorAsAFailedCheck) {
    for (int silent : {0, 1}) {
        SCOPED_TRACE(silent ? "silent" : "shown");
        options_.silent_mode = silent;
        CThreadlessValidator validator(config_, options_);
        ModalRun run = RunModal(validator);
        EXPECT_TRUE(validator.window) << "the task was never started";
        EXPECT_TRUE(run.closed_by_itself) << "the validator waited for a check that never ran";
        EXPECT_FALSE(::IsWindow(validator.window));
        EXPECT_EQ(validator.validation_outcome, ValidationOutcome::Stop) << "the wizard would run unchecked";
        EXPECT_EQ(validator.check_failed, 1) << "the run would not end as a failure";
    }
}

} // namespace
