#include "tests/pages/PageTestHost.h"

#include "tests/support/InstallerProcess.h"

namespace pagetest {

CPageTestHost::~CPageTestHost() {
    if (GetSafeHwnd())
        DestroyWindow();
}

bool CPageTestHost::Open(CGuidePanel& page, UINT template_id, POINT origin) {
    const SIZE size = CGuidePanel::DefaultPageSize();
    const RECT rect{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    if (!Create(WS_POPUP | WS_CLIPCHILDREN, rect, nullptr, 0, WS_EX_CONTROLPARENT))
        return false;
    if (!page.Create(template_id, this))
        return false;
    ::MoveWindow(page.GetSafeHwnd(), 0, 0, size.cx, size.cy, TRUE);
    page.ShowWindow(SW_SHOW);
    ::ShowWindow(GetSafeHwnd(), SW_SHOW);
    ::SetForegroundWindow(GetSafeHwnd());
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    skintest::Settle();
    return true;
}

bool CPageTestHost::ShowPage(int index) {
    shown_pages.push_back(index);
    return HasPage(index);
}

CScopedPageState::CScopedPageState() : saved_(theConfig) {}

CScopedPageState::~CScopedPageState() {
    theConfig = saved_;
    SetProgress(InstallState::Initializing, {}, {}, 0, 0);
}

void SetProgress(InstallState state, std::vector<uint32_t> download_weights,
                 std::vector<uint32_t> install_weights, int32_t step_index, int32_t step_percent) {
    InstallProgress& progress = theInstallProgress;
    progress.download_weights = std::move(download_weights);
    progress.install_weights = std::move(install_weights);
    // Straight to the state, cancelling or not: the record of a new run.
    progress.state = static_cast<int32_t>(state);
    progress.step_index = step_index;
    progress.step_percent = step_percent;
    progress.start_tick = 0;
}

void PageTest::SetUp() {
    SkinWindowTest::SetUp();
    theConfig.manifest.full_name = L"Lumetra Professional";
    theConfig.manifest.short_name = L"Lumetra";
    theConfig.manifest.main_component_executable = L"Lumetra.exe";
    theConfig.install_homepage_url.clear();
    SetProgress(InstallState::Initializing, {}, {}, 0, 0);
}

std::wstring ControlText(const CWnd& page, int id) {
    return nvxtest::WindowText(page.GetDlgItem(id));
}

} // namespace pagetest
