#include "framework/WinApp.h"

#include "framework/Wnd.h"

#include <commctrl.h>

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
    try {
        if (app->InitInstance())
            return app->Run();
    } catch (...) {
        // Whatever escaped start-up, the exit sequence still runs.
    }
    return app->ExitInstance();
}

int AfxMessageBox(const std::wstring& text, UINT type) {
    CWinApp* app = AfxGetApp();
    HWND owner = nullptr;
    if (app && app->m_pMainWnd && ::IsWindowVisible(app->m_pMainWnd->GetSafeHwnd()))
        owner = app->m_pMainWnd->GetSafeHwnd();
    const wchar_t* caption = app && !app->m_pszAppName.empty() ? app->m_pszAppName.c_str() : nullptr;
    return ::MessageBoxW(owner, text.c_str(), caption, type);
}
