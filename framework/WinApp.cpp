#include "framework/WinApp.h"

#include "framework/ExceptionGuard.h"
#include "framework/UserPrompt.h"
#include "framework/Wnd.h"

#include <commctrl.h>

#include <optional>

namespace {
CWinApp* the_app = nullptr;
}

CWinApp::CWinApp() noexcept {
    the_app = this;
}

CWinApp::~CWinApp() {
    if (the_app == this)
        the_app = nullptr;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() noexcept {
    return the_app;
}

int AfxWinMain(HINSTANCE instance) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // Whatever escapes start-up is reported, the run ends as a failure whatever exit code it
    // had set, and the exit sequence still runs.
    std::optional<BOOL> started =
        nvx::GuardedCall("CWinApp::InitInstance", [app] { return std::optional<BOOL>(app->InitInstance()); });
    if (started && *started) {
        std::optional<int> code =
            nvx::GuardedCall("CWinApp::Run", [app] { return std::optional<int>(app->Run()); });
        if (code)
            return *code;
    }
    if (!started || *started)
        app->exit_code_ = app->fault_exit_code_;
    return nvx::GuardedCall(
        "CWinApp::ExitInstance", [app] { return app->ExitInstance(); }, -1);
}

int AfxMessageBox(const std::wstring& text, UINT type) {
    CWinApp* app = AfxGetApp();
    HWND owner = nullptr;
    if (app && app->m_pMainWnd && ::IsWindowVisible(app->m_pMainWnd->GetSafeHwnd()))
        owner = app->m_pMainWnd->GetSafeHwnd();
    // Without a name the system's own caption ("Error") is shown.
    const std::wstring caption = app && !app->m_pszAppName.empty() ? app->m_pszAppName : L"Error";
    return nvx::Prompt(owner, text, caption, type);
}
