#pragma once
// A window that hosts one wizard page the way the wizard does (the page is a child dialog over
// its whole client area) and records what the page asks of it instead of doing it: pages to
// show, closing the wizard, exit codes. Also what the page tests share: the theme and COM as
// start-up makes them, and the configuration and progress record put back after each test.
#include "config/InstallConfig.h"
#include "engine/InstallProgress.h"
#include "framework/Wnd.h"
#include "pages/GuidePanel.h"
#include "pages/PageHost.h"
#include "tests/skin/SkinTestWindow.h"

#include <string>
#include <vector>

namespace pagetest {

class CPageTestHost final : public CWnd, public IPageHost {
public:
    // `current_page` is the index the page has in the wizard (1 progress, 2 finish).
    explicit CPageTestHost(int current_page) : current_page_(current_page) {}
    ~CPageTestHost() override;
    CPageTestHost(const CPageTestHost&) = delete;
    CPageTestHost& operator=(const CPageTestHost&) = delete;

    // Creates the host at `origin` with the default page size, the page inside it from its
    // template, and shows both, painted. False when a window could not be made.
    bool Open(CGuidePanel& page, UINT template_id, POINT origin = {40, 40});

    bool ShowPage(int index) override;
    int CurrentPageIndex() const override { return current_page_; }
    bool HasPage(int index) const override { return index >= 0 && index <= 2; }
    void FitToCurrentPage() override {}
    void CloseGuide() override { ++close_requests; }
    void ReportExitCode(DWORD code) override { exit_codes.push_back(code); }

    std::vector<int> shown_pages;
    int close_requests = 0;
    std::vector<DWORD> exit_codes;

private:
    int current_page_;
};

// The configuration fields and the progress record the pages read, as they were before.
class CScopedPageState {
public:
    CScopedPageState();
    ~CScopedPageState();
    CScopedPageState(const CScopedPageState&) = delete;
    CScopedPageState& operator=(const CScopedPageState&) = delete;

private:
    CInstallConfig saved_;
};

// Sets the progress record as the worker would: weights, then state, step and percent; the
// page's first refresh has not happened yet.
void SetProgress(InstallState state, std::vector<uint32_t> download_weights,
                 std::vector<uint32_t> install_weights, int32_t step_index, int32_t step_percent);

class PageTest : public skintest::SkinWindowTest {
protected:
    void SetUp() override;

    CScopedPageState state_;
};

// Text of a control of the page.
std::wstring ControlText(const CWnd& page, int id);

} // namespace pagetest
