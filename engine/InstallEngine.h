#pragma once
// The installation engine as the progress page sees it: start, pause and resume the downloads,
// cancel, read the progress, and the results once the sequence has ended. Behind it the plan is
// built on the UI thread, then the sequence (engine/InstallSequence.h) runs on a worker of its
// own with the machine's actions (engine/WindowsInstallActions.h).
//
// How the two threads meet: the worker writes the progress record (state, step, percent, each
// one atomic) and the UI thread reads it; the UI thread's only ways in are the cancel and the
// pause gate (engine/EngineSignals.h), which the worker only tests. The plan and the choices are
// complete before the worker starts and never change; everything else belongs to the worker
// until the sequence has ended. Destroying the engine waits for the worker.
#include "config/InstallConfig.h"
#include "config/LaunchOptions.h"
#include "engine/EngineSignals.h"
#include "engine/InstallChoices.h"
#include "engine/InstallProgress.h"
#include "engine/InstallSequence.h"
#include "engine/InstallStep.h"
#include "engine/LayoutActions.h"
#include "engine/WindowsInstallActions.h"

#include <windows.h>

#include <cstdint>
#include <future>
#include <string>
#include <vector>

// What the progress page shows of the engine at one moment.
struct EngineProgress {
    InstallState state = InstallState::Initializing;
    float percent = 0;          // the whole run, 0-100
    bool has_downloads = false; // the first half of the bar belongs to downloads
};

class CInstallEngine {
public:
    // The engine of one installation: the configuration and the application's flags it
    // installs from, and the progress record it publishes to.
    CInstallEngine(CInstallConfig& config, const LaunchOptions& options,
                   InstallProgress& progress = theInstallProgress);
    ~CInstallEngine();
    CInstallEngine(const CInstallEngine&) = delete;
    CInstallEngine& operator=(const CInstallEngine&) = delete;

    // UI thread, once: takes the choices made, builds the plan (asking the prerequisite
    // detectors) and starts the sequence on the worker. Returns at once. The engine's message
    // boxes are owned by `prompt_owner`.
    void StartInstall(HWND prompt_owner = nullptr);
    // UI thread, after the user confirmed: the sequence winds down at its next check.
    void RequestCancel();
    // UI thread: downloads hold still between the two (while the user is asked to cancel).
    void PauseDownloads();
    void ResumeDownloads();

    bool DownloadsPaused() const noexcept;
    // The cancel was confirmed and handed to the downloads (its event signalled).
    bool CancelSignalled() const noexcept;

    EngineProgress Progress() const;
    InstallState State() const noexcept { return progress_.State(); }
    // The millisecond tick of the progress page's first refresh, kept once per process; 0
    // before it. Only the first note counts: true when this one was it.
    uint32_t refresh_start_tick() const noexcept { return progress_.start_tick.load(); }
    bool NoteRefreshStart(uint32_t now) noexcept;

    // The plan and its weights (published to the progress record); part of StartInstall.
    void BuildInstallPlan();
    // Waits until the sequence has ended (at once when it never started).
    void WaitForSequence();

    // Results; read them once the state is final.
    static constexpr uint32_t kNoPackageResult = CWindowsInstallActions::kNoPackageResult;
    // The main package's Windows Installer result (0, 3010, 1602, ...); kNoPackageResult while
    // the package has not been installed.
    uint32_t main_package_result() const noexcept { return actions_.main_package_result(); }
    // The product's home page seen during the installation.
    const std::wstring& captured_homepage_url() const noexcept { return actions_.captured_homepage_url(); }
    int32_t install_index() const noexcept { return sequence_.install_index(); }
    bool download_failed() const noexcept { return sequence_.download_failed(); }
    const std::vector<InstallStep>& steps() const noexcept { return steps_; }

private:
    void RunInstallSequence() noexcept;
    // An offline layout instead of an installation ("/layout").
    bool Layout() const noexcept { return !options_.layout_folder.empty(); }

    CInstallConfig& config_;
    const LaunchOptions& options_;
    InstallProgress& progress_;
    EngineSignals signals_;
    InstallChoices choices_;
    std::vector<InstallStep> steps_;
    CWindowsInstallActions actions_;
    CLayoutActions layout_actions_;
    CInstallSequence sequence_;
    std::future<void> sequence_task_;
};
