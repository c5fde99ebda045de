#include "app/InstallGuide.h"

#include "config/ExitCodes.h"
#include "config/InstallConfig.h"
#include "pages/SettingPanel.h"
#include "pages/StatusPanel.h"
#include "pages/SuccessPanel.h"
#include "resources/resource.h"
#include "skin/ScreenDpi.h"

namespace {
constexpr int kSettingsPage = 0;
constexpr int kProgressPage = 1;
constexpr int kFinishPage = 2;
} // namespace

CInstallGuide::CInstallGuide(CInstallConfig& config, const LaunchOptions& options)
    : CNVXDialog(IDD_INSTALL_GUIDE), config_(config), options_(options), exit_code_(kExitInstallFailure) {}

// The pages go before the window's object does; their windows went with the guide's window.
CInstallGuide::~CInstallGuide() {
    pages.clear();
}

void CInstallGuide::CreatePages() {
    struct PageToMake {
        int index;
        std::shared_ptr<CGuidePanel> page;
        UINT template_id;
    };
    const PageToMake to_make[] = {
        {kSettingsPage, std::make_shared<CSettingPanel>(config_, options_), IDD_SETTINGS},
        {kProgressPage, std::make_shared<CStatusPanel>(config_, options_), IDD_PROGRESS},
        {kFinishPage, std::make_shared<CSuccessPanel>(config_, options_), IDD_FINISH},
    };
    for (const PageToMake& item : to_make) {
        if (item.page->Create(item.template_id, this))
            pages.emplace(item.index, item.page);
    }
}

BOOL CInstallGuide::OnInitDialog() {
    CNVXDialog::OnInitDialog();
    SetApplicationIcon();
    SetWindowText(config_.manifest.full_name);
    CreatePages();
    // An offline layout has nothing to choose: its downloads start at once.
    const bool straight_to_progress =
        options_.product_installed || options_.silent_mode || !options_.layout_folder.empty();
    ShowPage(straight_to_progress ? kProgressPage : kSettingsPage);
    FitToCurrentPage();
    if (options_.silent_mode)
        HideFromTaskbar();
    return TRUE;
}

bool CInstallGuide::ShowPage(int index) {
    show_caption_title = index == kProgressPage;
    RepaintFrame();
    const auto found = pages.find(index);
    if (found == pages.end())
        return false;
    if (index != current_page) {
        const auto shown = pages.find(current_page);
        if (shown != pages.end())
            shown->second->ShowWindow(SW_HIDE);
    }
    current_page = index;
    FitToCurrentPage();
    found->second->OnShowPage();
    found->second->ShowWindow(SW_SHOW);
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    ::UpdateWindow(GetSafeHwnd());
    return true;
}

void CInstallGuide::FitToCurrentPage() {
    const auto found = pages.find(current_page);
    if (found == pages.end())
        return;
    const SIZE size = found->second->GetPageSize();
    ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, size.cx + 2 * ScaleX(1), size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

void CInstallGuide::OnClientResized(const RECT& client) {
    for (const auto& [index, page] : pages) {
        if (page->GetSafeHwnd())
            ::MoveWindow(page->GetSafeHwnd(), client.left, client.top, client.right - client.left,
                         client.bottom - client.top, TRUE);
    }
}

void CInstallGuide::CloseGuide() {
    DestroyWindow();
}

void CInstallGuide::OnClose() {
    const auto found = pages.find(current_page);
    if (found == pages.end() || found->second->CanClose())
        EndDialog(IDCANCEL);
}

LRESULT CInstallGuide::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CLOSE) {
        OnClose();
        return 0;
    }
    return CNVXDialog::WindowProc(msg, wparam, lparam);
}
