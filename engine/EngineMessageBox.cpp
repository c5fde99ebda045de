#include "engine/EngineMessageBox.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

HWND GuideWindow() noexcept {
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}
