#pragma once
// The installer's main window: a skinned dialog hosting the three wizard pages one at a time.
// It picks the first page, shows pages on request, sizes itself to the page shown, keeps every
// page stretched over its client area and asks the shown page before it lets the user close it.
#include "config/InstallConfig.h"
#include "config/LaunchOptions.h"
#include "pages/GuidePanel.h"
#include "pages/PageHost.h"
#include "skin/NVXDialog.h"

#include <memory>
#include <unordered_map>

class CInstallGuide : public CNVXDialog, public IPageHost {
public:
    CInstallGuide(CInstallConfig& config, const LaunchOptions& options);
    ~CInstallGuide() override;

    // IPageHost
    bool ShowPage(int index) override;
    int CurrentPageIndex() const override { return current_page; }
    bool HasPage(int index) const override { return pages.count(index) != 0; }
    void FitToCurrentPage() override;
    void CloseGuide() override;
    void ReportExitCode(DWORD code) override { exit_code_ = code; }

    // What the pages reported last; a wizard that ended without a report did not install.
    DWORD exit_code() const noexcept { return exit_code_; }

    std::unordered_map<int, std::shared_ptr<CGuidePanel>> pages;
    int current_page = 0;

protected:
    BOOL OnInitDialog() override;
    // Enter and Escape reach the guide from the dialog manager; only closing the window (the
    // caption's Close button, Alt+F4) may end it, and that asks the shown page first.
    void OnOK() override {}
    void OnCancel() override {}
    void OnClientResized(const RECT& client) override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
    void CreatePages();
    void OnClose();

    CInstallConfig& config_;
    const LaunchOptions& options_;
    DWORD exit_code_;
};
