// Starting a program through the desktop shell, for real through Wine's shell, and with each
// step of the route made to fail in turn: nothing starts, nothing is shown, and every
// interface the route obtained is released.
#include "framework/DesktopLaunch.h"
#include "tests/support/MessageBoxAnswerer.h"
#include "tests/support/ScratchFolder.h"
#include "tests/selfupdate/SelfUpdateFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace selfupdatetest;

namespace {

constexpr DWORD kTimeout = 30000;

class CComScope {
public:
    CComScope() : result_(::CoInitialize(nullptr)) {}
    ~CComScope() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    HRESULT result_;
};

// Stands in for an interface the route obtained: counts the route's references to it and
// hands out the real interface it wraps to whoever asks for one.
class CCountedInterface final : public IUnknown {
public:
    explicit CCountedInterface(IUnknown* inner) : inner_(inner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    ULONG References() const noexcept { return references_; }
    ~CCountedInterface() { inner_->Release(); }

private:
    IUnknown* inner_;
    ULONG references_ = 1;
};

// The real route, with one step answering `failure` instead of running, and every handed-out
// interface counted.
class CFailingSteps final : public IDesktopLaunchSteps {
public:
    CFailingSteps(int failing_step, HRESULT failure) : failing_step_(failing_step), failure_(failure) {}

    HRESULT Run(DesktopLaunchStep step, IUnknown* previous, const std::wstring& path,
                IUnknown** next) override {
        *next = nullptr;
        steps_run.push_back(static_cast<int>(step));
        EXPECT_EQ(previous, handed_out.empty() ? nullptr : handed_out.back().get());
        if (static_cast<int>(step) == failing_step_)
            return failure_; // with nothing handed out, also for a success code
        IUnknown* real = nullptr;
        HRESULT hr = real_.Run(step, previous, path, &real);
        if (real) {
            handed_out.push_back(std::make_unique<CCountedInterface>(real));
            *next = handed_out.back().get();
        }
        return hr;
    }

    std::vector<int> steps_run;
    std::vector<std::unique_ptr<CCountedInterface>> handed_out;

private:
    CShellLaunchSteps real_;
    int failing_step_;
    HRESULT failure_;
};

class DesktopLaunch : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CopyStartRecorder(program_)) << "start_recorder.exe not built"; }
    CComScope com_;
    ScratchFolder folder_{"nvx-launch"};
    const std::wstring program_ = folder_.wpath() + L"\\Photo Viewer.exe";
};

TEST_F(DesktopLaunch, StartsTheProgramThroughTheDesktopShell) {
    CMessageBoxAnswerer boxes;
    CFailingSteps counted(-1, S_OK); // no step fails
    EXPECT_TRUE(LaunchAsDesktopUser(program_, counted));
    EXPECT_EQ(counted.steps_run.size(), static_cast<size_t>(kDesktopLaunchStepCount));
    EXPECT_EQ(counted.handed_out.size(), static_cast<size_t>(kDesktopLaunchStepCount - 1));
    for (const auto& obtained : counted.handed_out)
        EXPECT_EQ(obtained->References(), 0u) << "an interface was kept";

    auto record = WaitForStartRecord(program_, kTimeout);
    ASSERT_TRUE(record) << "the shell did not start the program";
    EXPECT_EQ((*record)[L"argc"], L"0");
    EXPECT_EQ((*record)[L"parent"], L"explorer.exe");
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(DesktopLaunch, TheRouteWithoutSeamStartsTheProgramToo) {
    LaunchAsDesktopUser(program_);
    EXPECT_TRUE(WaitForStartRecord(program_, kTimeout));
}

TEST_F(DesktopLaunch, AFailingStepEndsTheRouteQuietlyAndReleasesEverything) {
    CMessageBoxAnswerer boxes;
    // A failure code, and a success that finds nothing (FindWindowSW answers S_FALSE then).
    for (HRESULT failure : {E_FAIL, S_FALSE}) {
        for (int failing = 0; failing < kDesktopLaunchStepCount; ++failing) {
            SCOPED_TRACE("step " + std::to_string(failing) + ", result " + std::to_string(failure));
            CFailingSteps steps(failing, failure);
            bool asked = LaunchAsDesktopUser(program_, steps);
            bool last_step = failing == kDesktopLaunchStepCount - 1;
            // Only the last step's own success counts as asking the shell; it never ran here.
            EXPECT_EQ(asked, last_step && SUCCEEDED(failure));
            ASSERT_FALSE(steps.steps_run.empty());
            EXPECT_EQ(steps.steps_run.back(), failing) << "the route went on after the step";
            EXPECT_EQ(steps.handed_out.size(), static_cast<size_t>(failing));
            for (const auto& obtained : steps.handed_out)
                EXPECT_EQ(obtained->References(), 0u) << "an interface was kept";
        }
    }
    // The shell was never asked to run it, so nothing can have started.
    EXPECT_FALSE(ReadStartRecord(program_));
    EXPECT_TRUE(boxes.Texts().empty());
}

} // namespace
