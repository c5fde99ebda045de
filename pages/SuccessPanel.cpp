#include "pages/SuccessPanel.h"

#include "pages/ProductLaunch.h"

#include "framework/Handles.h"
#include "localization/MessageText.h"
#include "localization/UIStrings.h"
#include "resources/resource.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

CSuccessPanel::CSuccessPanel(const CInstallConfig& config, const LaunchOptions& options)
    : CGuidePanel(IDD_FINISH), config_(config), options_(options) {}

std::wstring CSuccessPanel::Text(const UIStringEntry& entry) const {
    return config_.language.LookupUIString(entry);
}

BOOL CSuccessPanel::OnInitDialog() {
    CGuidePanel::OnInitDialog();
    start_button_.SubclassDlgItem(IDC_START_NOW, this);
    start_button_.SetText(Text(ui::kStartNow));
    ::ShowWindow(GetDlgItem(IDC_FINISH_CHECK), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_FINISH_CHECK_LABEL), SW_HIDE);
    return FALSE;
}

void CSuccessPanel::RefreshTexts() {
    start_button_.SetText(Text(ui::kStartNow));
    start_button_.Invalidate();
    ::SetWindowTextW(GetDlgItem(IDC_FINISH_CHECK_LABEL),
                     FillPlaceholder(Text(ui::kLaunchApp), config_.manifest.full_name).c_str());
    LayoutControls(GetClientRect());
}

void CSuccessPanel::LayoutControls(const RECT& client) {
    if (!start_button_.GetSafeHwnd())
        return;
    ::MoveWindow(start_button_.GetSafeHwnd(), client.left + (client.right - client.left - ScaleX(300)) / 2,
                 client.top + ScaleX(240), ScaleX(300), ScaleY(34), TRUE);
}

void CSuccessPanel::DrawContent(HDC dc) {
    DrawPageHeading(dc, GetClientRect().top + ScaleX(90),
                    FillPlaceholder(Text(ui::kProductReady), config_.manifest.short_name));
}

bool CSuccessPanel::OpenHomepage() {
    if (options_.product_installed || homepage_opened)
        return false;
    const std::wstring& url = config_.install_homepage_url;
    if (url.empty())
        return false;
    OpenWebAddress(url);
    homepage_opened = 1;
    return true;
}

void CSuccessPanel::LaunchAndClose() {
    LaunchInstalledProduct(config_.install_folder, config_.manifest.main_component_executable);
    if (IPageHost* host = GetPageHost())
        host->CloseGuide();
}

bool CSuccessPanel::OnCommand(WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) == IDC_START_NOW && HIWORD(wparam) == BN_CLICKED) {
        OpenHomepage();
        SetTimer(kLaunchTimer, kLaunchDelayMs);
        return true;
    }
    return CGuidePanel::OnCommand(wparam, lparam);
}

void CSuccessPanel::OnTimer(UINT_PTR timer_id) {
    if (timer_id == kLaunchTimer) {
        // One launch, also when closing the wizard leaves this page's window alive a while.
        KillTimer(kLaunchTimer);
        LaunchAndClose();
    } else
        CGuidePanel::OnTimer(timer_id);
}

BOOL CSuccessPanel::CanClose() {
    OpenHomepage();
    return TRUE;
}
