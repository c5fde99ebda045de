#include "pages/StatusPanel.h"

#include "config/ExitCodes.h"
#include "framework/Handles.h"
#include "framework/UserPrompt.h"
#include "localization/UIStrings.h"
#include "pages/ContentSelection.h"
#include "pages/ProductLaunch.h"
#include "pages/ProgressText.h"
#include "resources/resource.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace {

// The slideshow's height, fixed when the program starts.
int SlideshowHeight() {
    static const int height = ScaleY(284);
    return height;
}

} // namespace

const RunningAppProbe running_app_probes[2] = {{L"TODO", L"TODO"}, {L"TODO", L"TODO"}};

CStatusPanel::CStatusPanel(CInstallConfig& config, const LaunchOptions& options)
    : CGuidePanel(IDD_PROGRESS), engine(config, options), config_(config), options_(options) {}

CStatusPanel::~CStatusPanel() {
    // The worker reads the configuration and writes the progress record until it ends.
    engine.WaitForSequence();
}

std::wstring CStatusPanel::Text(const UIStringEntry& entry) const {
    return config_.language.LookupUIString(entry);
}

void CStatusPanel::SetupLabel(CNVXStatic& label, int id, const std::wstring& text, UINT flags) {
    label.SubclassDlgItem(id, this);
    label.font = theThemeFonts.font_body.get();
    label.text_color = theThemePalette.caption_text;
    label.background_color = theThemePalette.window_background;
    label.draw_flags = flags;
    SetLabelText(label, text);
}

void CStatusPanel::SetLabelText(CNVXStatic& label, const std::wstring& text) {
    label.text = text;
    label.SetWindowText(text);
    label.Invalidate();
    ::UpdateWindow(label.GetSafeHwnd());
}

BOOL CStatusPanel::OnInitDialog() {
    CGuidePanel::OnInitDialog();
    const RECT empty{};
    if (slideshow_.Create(WS_CHILD | WS_TABSTOP, empty, this, IDC_SLIDESHOW)) {
        slideshow_.background_color = theThemePalette.window_background;
        slideshow_.ShowWindow(SW_SHOW);
    }
    SetupLabel(status_label_, IDC_STATUS_LABEL, Text(ui::kStatusInit), DT_WORDBREAK);
    SetupLabel(time_label_, IDC_TIME_LABEL, Text(ui::kCalcTimeRemaining), DT_WORDBREAK);
    SetupLabel(percent_label_, IDC_PERCENT_LABEL, L"", DT_RIGHT | DT_WORDBREAK);
    if (progress_bar_.Create(WS_CHILD | WS_TABSTOP, empty, this, IDC_PROGRESS_BAR)) {
        progress_bar_.position = 0;
        progress_bar_.Invalidate();
        progress_bar_.range = 1000;
        progress_bar_.background_color = theThemePalette.window_background;
        progress_bar_.track_color = theThemePalette.progress_track;
        progress_bar_.fill_color = theThemePalette.progress_fill;
        progress_bar_.ShowWindow(SW_SHOW);
    }
    return FALSE;
}

void CStatusPanel::LayoutControls(const RECT& client) {
    if (!slideshow_.GetSafeHwnd() || !progress_bar_.GetSafeHwnd())
        return;
    const int top = client.top + ScaleX(36);
    ::MoveWindow(slideshow_.GetSafeHwnd(), client.left, top, client.right - client.left, SlideshowHeight(),
                 TRUE);
    const int margin = ScaleY(30);
    const int row = ScaleY(20);
    const int percent_width = ScaleX(100);
    const int left = client.left + margin;
    const int status_top = top + SlideshowHeight() + ScaleY(15);
    const int right = client.right - percent_width - margin;
    ::MoveWindow(status_label_.GetSafeHwnd(), left, status_top, right - left, row, TRUE);
    ::MoveWindow(time_label_.GetSafeHwnd(), left, status_top + row, right - left, row, TRUE);
    ::MoveWindow(percent_label_.GetSafeHwnd(), right, status_top + row, client.right - margin - right, row,
                 TRUE);
    const int bar_width = client.right - margin - left;
    ::MoveWindow(progress_bar_.GetSafeHwnd(), left, status_top + 2 * row + ScaleY(10), bar_width, ScaleY(8),
                 TRUE);
    progress_bar_.bar_rect = RECT{0, 0, bar_width, ScaleY(8)};
}

void CStatusPanel::OnShowPage() {
    RefreshTexts();
    SetTimer(kStartTimer, kStartDelayMs);
}

void CStatusPanel::RefreshTexts() {
    SetLabelText(status_label_, Text(ui::kStatusInit));
    SetLabelText(time_label_, Text(ui::kCalcTimeRemaining));
    slideshow_.pictures.clear();
    slides_.clear();
    for (const std::wstring& path : GetSlidePaths(config_.language)) {
        std::unique_ptr<CImageWrapper> picture = LoadImageFile(path);
        if (!picture)
            continue;
        slideshow_.pictures.push_back(SlidePicture{picture->width, picture->height, picture->bitmap.get()});
        slides_.push_back(std::move(picture));
    }
    slideshow_.Invalidate(FALSE);
}

void CStatusPanel::CloseGuide() {
    if (IPageHost* host = GetPageHost())
        host->CloseGuide();
}

void CStatusPanel::OnStartTimer() {
    KillTimer(kStartTimer);
    if (!CheckRunningApplications(config_.manifest.full_name, GetSafeHwnd())) {
        if (IPageHost* host = GetPageHost())
            host->ReportExitCode(kExitCancelled);
        CloseGuide();
        return;
    }
    // The engine's boxes belong to the wizard window.
    engine.StartInstall(::GetParent(GetSafeHwnd()));
    SetTimer(kRefreshTimer, kRefreshPeriodMs);
}

void CStatusPanel::OnTimer(UINT_PTR timer_id) {
    if (timer_id == kStartTimer) {
        OnStartTimer();
    } else if (timer_id == kRefreshTimer) {
        KillTimer(kRefreshTimer);
        if (RefreshProgress())
            SetTimer(kRefreshTimer, kRefreshPeriodMs);
    } else {
        CGuidePanel::OnTimer(timer_id);
    }
}

LRESULT CStatusPanel::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_SKIN_SLIDESHOW_CLICK) {
        const std::wstring link = config_.language.LookupLink(ui::kRlinkSlideShow);
        OpenWebAddress(link);
        return 0;
    }
    return CGuidePanel::WindowProc(msg, wparam, lparam);
}

void CStatusPanel::ReportFinalState(InstallState state) {
    IPageHost* host = GetPageHost();
    if (!host)
        return;
    if (state == InstallState::Finished)
        host->ReportExitCode(engine.main_package_result() == kExitRestartRequired ? kExitRestartRequired
                                                                                  : kExitSuccess);
    else if (state == InstallState::Failed)
        host->ReportExitCode(kExitInstallFailure);
    else if (state == InstallState::Cancelled)
        host->ReportExitCode(kExitCancelled);
}

bool CStatusPanel::RefreshProgress() {
    const ProgressSnapshot snapshot = GetProgressSnapshot();
    progress_bar_.position = BarPosition(snapshot.percent);
    progress_bar_.Invalidate();
    ::UpdateWindow(progress_bar_.GetSafeHwnd());
    SetLabelText(percent_label_, PercentText(snapshot.percent));
    SetLabelText(status_label_, snapshot.status_text);
    SetLabelText(time_label_, snapshot.time_text);
    switch (snapshot.state) {
    case InstallState::Finished:
        ReportFinalState(snapshot.state);
        if (!options_.layout_folder.empty()) {
            CloseGuide(); // a layout installed nothing to finish or start
        } else if (options_.launch_when_done) {
            LaunchInstalledProduct(config_.install_folder, config_.manifest.main_component_executable);
            CloseGuide();
        } else if (!options_.silent_mode) {
            GoToNextPage();
        } else {
            CloseGuide();
        }
        return false;
    case InstallState::Failed:
    case InstallState::Cancelled:
        ReportFinalState(snapshot.state);
        CloseGuide();
        return false;
    default:
        return true;
    }
}

ProgressSnapshot CStatusPanel::GetProgressSnapshot() {
    const EngineProgress progress = engine.Progress();
    ProgressSnapshot snapshot;
    snapshot.state = progress.state;
    snapshot.percent = progress.percent;
    snapshot.status_text = Text(StateText(snapshot.state));
    const float phase = PhaseProgress(snapshot.state, snapshot.percent, progress.has_downloads);
    // Counted from the first refresh, once per process: the estimate during installation
    // includes the downloads.
    const uint32_t now = clock();
    const bool first_refresh = engine.NoteRefreshStart(now);
    const std::optional<uint32_t> shown = TimeToShow(first_refresh, phase, now - engine.refresh_start_tick());
    snapshot.time_text = shown ? FormatTimeRemaining(*shown) : Text(ui::kCalcTimeRemaining);
    return snapshot;
}

std::wstring CStatusPanel::FormatTimeRemaining(uint32_t ms) const {
    const TimeRemaining split = SplitTimeRemaining(ms);
    const UIStringEntry& format = split.unit == TimeRemaining::Unit::Hours     ? ui::kTimeRemainingHours
                                  : split.unit == TimeRemaining::Unit::Minutes ? ui::kTimeRemainingMins
                                                                               : ui::kTimeRemainingSecs;
    return FillNumbers(Text(format), split.values, split.count);
}

BOOL CStatusPanel::CanClose() {
    if (cancel_confirmed)
        return FALSE;
    const InstallState state = engine.State();
    if (IsFinalState(state)) {
        ReportFinalState(state);
        return TRUE;
    }
    engine.PauseDownloads();
    const int answer = nvx::Prompt(GetSafeHwnd(), Text(ui::kMessageCancelNotice), config_.manifest.short_name,
                                   MB_YESNO | MB_ICONWARNING);
    if (answer == IDYES) {
        const InstallState now = engine.State();
        if (IsFinalState(now)) {
            ReportFinalState(now);
            return TRUE;
        }
        cancel_confirmed = 1;
        engine.RequestCancel();
        return FALSE;
    }
    engine.ResumeDownloads();
    return FALSE;
}

bool CStatusPanel::CheckRunningApplications(const std::wstring& caption, HWND owner) {
    for (;;) {
        std::wstring running;
        for (const RunningAppProbe& probe : running_app_probes) {
            nvx::UniqueHandle semaphore(::OpenSemaphoreW(SYNCHRONIZE, FALSE, probe.semaphore_name));
            if (semaphore) {
                running += probe.display_name;
                running += L"\r\n";
            }
        }
        if (running.empty())
            return true;
        const std::wstring text = Text(ui::kCloseRunningApps) + L"\n\n" + running;
        if (nvx::Prompt(owner, text, caption, MB_ICONWARNING | MB_RETRYCANCEL) != IDRETRY)
            return false;
    }
}
