#include "app/InstallGuide.h"

#include "app/InstallerApp.h"
#include "resources/resource.h"

CInstallGuide::CInstallGuide() : CDialogEx(IDD_INSTALL_GUIDE) {}

BOOL CInstallGuide::OnInitDialog() {
    CDialogEx::OnInitDialog();
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (theApp.silent_mode) {
        ::SetWindowPos(GetSafeHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW);
        LONG_PTR ex_style = ::GetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE);
        ::SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, (ex_style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
        ShowWindow(SW_HIDE);
    }
    return TRUE;
}
