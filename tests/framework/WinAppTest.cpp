// The program entry's sequence: start-up, then the exit sequence, whatever start-up did.
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr int kFailure = 1603;

class CTestApp : public CWinApp {
public:
    enum class Ends { Normally, WithException };
    CTestApp(Ends ends, int exit_code) : ends_(ends), exit_code_set_(exit_code) {
        fault_exit_code_ = kFailure;
    }

    BOOL InitInstance() override {
        exit_code_ = exit_code_set_;
        if (ends_ == Ends::WithException)
            throw std::runtime_error("start-up failed");
        return FALSE;
    }
    int ExitInstance() override {
        ++exit_instance_calls;
        return CWinApp::ExitInstance();
    }

    int exit_instance_calls = 0;

private:
    Ends ends_;
    int exit_code_set_;
};

TEST(WinApp, StartUpEndedByAnExceptionEndsWithTheFaultCodeAfterTheExitSequence) {
    const struct {
        const char* name;
        CTestApp::Ends ends;
        int exit_code_set; // by start-up before it ended
        int expected;
    } cases[] = {
        {"ends normally with success", CTestApp::Ends::Normally, 0, 0},
        {"ends normally with a code", CTestApp::Ends::Normally, 1602, 1602},
        {"throws before setting a code", CTestApp::Ends::WithException, 0, kFailure},
        {"throws after setting another code", CTestApp::Ends::WithException, 1602, kFailure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTestApp app(c.ends, c.exit_code_set);
        ASSERT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr)), c.expected);
        EXPECT_EQ(app.exit_instance_calls, 1);
    }
}

} // namespace
