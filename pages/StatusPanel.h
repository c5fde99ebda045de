#pragma once
// The progress page. Three seconds after it is shown it makes sure no application that must be
// closed is running and starts the installation; from then on it reads the progress record
// once a second (state text, percent, bar, time left) over a slideshow of product pictures, and
// when the installation ends it shows the finish page, starts the product or closes the wizard.
#include "config/InstallConfig.h"
#include "config/LaunchOptions.h"
#include "engine/InstallEngine.h"
#include "localization/UIStrings.h"
#include "pages/GuidePanel.h"
#include "skin/ImageWrapper.h"
#include "skin/NVXProgress.h"
#include "skin/NVXSliderShowCtrl.h"
#include "skin/NVXStatic.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct ProgressSnapshot {
    InstallState state = InstallState::Initializing;
    float percent = 0;
    std::wstring status_text;
    std::wstring time_text;
};

// An application that must not run during installation: it runs while its semaphore exists.
struct RunningAppProbe {
    const wchar_t* semaphore_name;
    const wchar_t* display_name;
};

class CStatusPanel : public CGuidePanel {
public:
    static constexpr UINT_PTR kStartTimer = 1125;
    static constexpr UINT kStartDelayMs = 3000;
    static constexpr UINT_PTR kRefreshTimer = 1124;
    static constexpr UINT kRefreshPeriodMs = 1000;

    CStatusPanel(CInstallConfig& config, const LaunchOptions& options);
    ~CStatusPanel() override;

    void LayoutControls(const RECT& client) override;
    void OnShowPage() override;
    void RefreshTexts() override;
    BOOL CanClose() override;

    // One refresh; false once the installation has ended.
    bool RefreshProgress();
    ProgressSnapshot GetProgressSnapshot();
    std::wstring FormatTimeRemaining(uint32_t ms) const;
    // True when nothing that must be closed is running (or the user closed it and retried).
    bool CheckRunningApplications(const std::wstring& caption, HWND owner);

    CInstallEngine engine;
    int32_t cancel_confirmed = 0;
    // The page's clock (milliseconds, wrapping as the tick count does), for the time left.
    std::function<uint32_t()> clock = [] { return static_cast<uint32_t>(::GetTickCount()); };

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    void OnTimer(UINT_PTR timer_id) override;

private:
    void SetupLabel(CNVXStatic& label, int id, const std::wstring& text, UINT flags);
    void SetLabelText(CNVXStatic& label, const std::wstring& text);
    void OnStartTimer();
    void ReportFinalState(InstallState state);
    void CloseGuide();
    std::wstring Text(const UIStringEntry& entry) const;

    CInstallConfig& config_;
    const LaunchOptions& options_;
    CNVXSliderShowCtrl slideshow_;
    CNVXStatic status_label_;
    CNVXStatic time_label_;
    CNVXStatic percent_label_;
    CNVXProgress progress_bar_;
    std::vector<std::unique_ptr<CImageWrapper>> slides_; // the slideshow draws their bitmaps
};

// The applications checked before the installation starts.
extern const RunningAppProbe running_app_probes[2];
