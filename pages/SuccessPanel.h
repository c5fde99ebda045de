#pragma once
// The finish page: the product's icon, "<product> is ready" and Start Now, which opens the
// product's home page (first installations only, once) and half a second later starts the
// installed program as the signed-in user and closes the wizard.
#include "config/InstallConfig.h"
#include "config/LaunchOptions.h"
#include "localization/UIStrings.h"
#include "pages/GuidePanel.h"
#include "skin/NVXTextButton.h"

class CSuccessPanel : public CGuidePanel {
public:
    static constexpr UINT_PTR kLaunchTimer = 1125;
    static constexpr UINT kLaunchDelayMs = 500;

    CSuccessPanel(const CInstallConfig& config, const LaunchOptions& options);

    void DrawContent(HDC dc) override;
    void LayoutControls(const RECT& client) override;
    void OnShowPage() override { RefreshTexts(); }
    void RefreshTexts() override;
    BOOL CanClose() override;

    // Opens the captured home page unless this is an update or it was opened already.
    bool OpenHomepage();
    void LaunchAndClose();

    int homepage_opened = 0;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WPARAM wparam, LPARAM lparam) override;
    void OnTimer(UINT_PTR timer_id) override;

private:
    std::wstring Text(const UIStringEntry& entry) const;

    const CInstallConfig& config_;
    const LaunchOptions& options_;
    CNVXTextButton start_button_;
};
