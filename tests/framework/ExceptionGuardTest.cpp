// Exceptions stopped at a window procedure, a thread entry or a platform callback are reported
// on the diagnostic channel with what was thrown and where.
#include "framework/Dialog.h"
#include "framework/ExceptionGuard.h"
#include "tests/framework/test_resources.h"
#include "tests/support/DiagnosticRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kThrowRuntimeError = WM_APP + 0x31;
constexpr UINT kThrowInt = WM_APP + 0x32;

class CThrowingWindow : public CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
        if (msg == kThrowRuntimeError)
            throw std::runtime_error("paint failed: \xC3\x9C"
                                     "berschrift"); // UTF-8 in the text
        if (msg == kThrowInt)
            throw 42;
        return CWnd::WindowProc(msg, wparam, lparam);
    }
};

TEST(ExceptionGuard, WindowProcedureReportsWhatAndWhichMessage) {
    CDiagnosticRecorder output;
    CThrowingWindow window;
    ASSERT_TRUE(window.Create(WS_POPUP, RECT{0, 0, 5, 5}, nullptr, 0));
    EXPECT_EQ(window.SendMessage(kThrowRuntimeError), 0);
    EXPECT_EQ(window.SendMessage(kThrowInt), 0);
    EXPECT_TRUE(::IsWindow(window.GetSafeHwnd()));
    window.DestroyWindow();
    EXPECT_EQ(output.Texts(L"guard"),
              (std::vector<std::wstring>{
                  L"Exception caught in CWnd::WindowProc (message 0x8031): paint failed: \u00DCberschrift",
                  L"Exception caught in CWnd::WindowProc (message 0x8032): unknown exception"}));
}

TEST(ExceptionGuard, DialogInitialisationReportsAndTheDialogLives) {
    CDiagnosticRecorder output;
    struct CFailingInit : CDialog {
        CFailingInit() : CDialog(IDD_TEST_DIALOG) {}
        BOOL OnInitDialog() override { throw std::logic_error("no configuration"); }
    } dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    dialog.DestroyWindow();
    EXPECT_EQ(output.Texts(L"guard"),
              std::vector<std::wstring>{L"Exception caught in CDialog::OnInitDialog: no configuration"});
}

DWORD WINAPI FailingThreadEntry(void*) {
    return nvx::GuardedCall(
        "FailingThreadEntry", []() -> DWORD { throw std::runtime_error("download failed"); }, DWORD{3});
}

TEST(ExceptionGuard, ThreadEntriesAnswerTheFallbackAndReport) {
    CDiagnosticRecorder output;
    HANDLE thread = ::CreateThread(nullptr, 0, FailingThreadEntry, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(::WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    EXPECT_EQ(code, 3u);

    // A lambda thread of the standard library, returning nothing.
    std::thread([] { nvx::GuardedCall("InstallWorker", [] { throw std::bad_alloc(); }); }).join();

    std::vector<std::wstring> lines = output.Texts(L"guard");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"Exception caught in FailingThreadEntry: download failed");
    EXPECT_EQ(lines[1].rfind(L"Exception caught in InstallWorker: ", 0), 0u) << lines[1];
}

TEST(ExceptionGuard, PlatformCallbackAnswersItsFallbackAndCallsGoOnWithoutAReport) {
    CDiagnosticRecorder output;
    HWND parent =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 3; ++i)
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr);
    int visited = 0;
    ::EnumChildWindows(
        parent,
        [](HWND, LPARAM visited_pointer) -> BOOL {
            return nvx::GuardedCall(
                "EnumChildProc",
                [&]() -> BOOL {
                    if (++*reinterpret_cast<int*>(visited_pointer) == 2)
                        throw std::out_of_range("child index");
                    return TRUE;
                },
                FALSE);
        },
        reinterpret_cast<LPARAM>(&visited));
    ::DestroyWindow(parent);
    EXPECT_EQ(visited, 2) << "the enumeration goes on after a failed callback";
    EXPECT_EQ(output.Texts(L"guard"),
              std::vector<std::wstring>{L"Exception caught in EnumChildProc: child index"});
    EXPECT_EQ(nvx::GuardedCall("Quiet", [] { return 5; }), 5);
    EXPECT_EQ(output.Texts(L"guard").size(), 1u);
}

// Reads the real debugger output of this process: OutputDebugString raises an exception that
// a debugger would take, which a vectored handler sees first.
class DebuggerOutputReader {
public:
    DebuggerOutputReader() { handler_ = ::AddVectoredExceptionHandler(1, &DebuggerOutputReader::Handler); }
    ~DebuggerOutputReader() { ::RemoveVectoredExceptionHandler(handler_); }
    static std::vector<std::wstring> Lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* pointers) {
        const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
        constexpr DWORD kWidePrint = 0x4001000A; // DBG_PRINTEXCEPTION_WIDE_C
        std::lock_guard lock(mutex_);
        if (record->ExceptionCode == kWidePrint && record->NumberParameters >= 2) {
            lines_.emplace_back(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]));
            return EXCEPTION_CONTINUE_EXECUTION; // taken; no narrow copy follows
        }
        if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
            const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            lines_.emplace_back(text, text + std::char_traits<char>::length(text));
            return EXCEPTION_CONTINUE_EXECUTION;
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    void* handler_;
    static inline std::mutex mutex_;
    static inline std::vector<std::wstring> lines_;
};

TEST(ExceptionGuard, TheReportAlsoGoesToTheDebuggerOutput) {
    DebuggerOutputReader reader;
    nvx::GuardedCall("CallbackWithoutSink", [] { throw std::runtime_error("reported for real"); });
    std::vector<std::wstring> lines = reader.Lines();
    const std::wstring expected = L" [guard] Exception caught in CallbackWithoutSink: reported for real\r\n";
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [&](const std::wstring& line) {
                               return line.size() > expected.size() && line.ends_with(expected);
                           }),
              lines.end())
        << "lines seen: " << lines.size();
}

} // namespace
