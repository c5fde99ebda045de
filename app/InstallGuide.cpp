#include "app/InstallGuide.h"

#include "app/InstallerApp.h"
#include "config/InstallConfig.h"
#include "resources/resource.h"

CInstallGuide::CInstallGuide() : CDialogEx(IDD_INSTALL_GUIDE) {}

BOOL CInstallGuide::OnInitDialog() {
    CDialogEx::OnInitDialog();
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetWindowText(theConfig.manifest.full_name);
    if (theApp.silent_mode) {
        LONG_PTR ex_style = ::GetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE);
        ::SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, (ex_style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
        ShowWindow(SW_HIDE); // keeps the modal dialog from being shown at all
    }
    return TRUE;
}
