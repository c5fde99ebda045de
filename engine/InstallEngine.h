#pragma once
// The installation engine: builds the plan on the UI thread, then runs the sequence (version
// check, downloads, installation, settings) on a worker of its own.
//
// How the two threads meet: the worker writes the progress record (state, step, percent, each
// one atomic) and the UI thread reads it on its timer; the UI thread's only ways in are
// RequestCancel (the cancel flags and the cancel event) and the pause gate, which the worker
// only tests. The plan is complete before the worker starts and never changes; everything else
// belongs to the worker until the sequence has ended. Destroying the engine waits for the
// worker, then closes the events.
#include "config/LaunchOptions.h"
#include "config/InstallConfig.h"
#include "engine/InstallProgress.h"
#include "engine/InstallSequence.h"
#include "engine/InstallStep.h"
#include "engine/PackageMessages.h"
#include "framework/Handles.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <vector>

class CInstallEngine final : private IInstallActions {
public:
    // The engine of one installation: the configuration and the application's flags it
    // installs from, and the progress record it publishes to (the page reads the global one).
    CInstallEngine(CInstallConfig& config, const LaunchOptions& app,
                   InstallProgress& progress = theInstallProgress);
    // A first installation from the global configuration.
    CInstallEngine();
    ~CInstallEngine();
    CInstallEngine(const CInstallEngine&) = delete;
    CInstallEngine& operator=(const CInstallEngine&) = delete;

    // UI thread, once: builds the plan (asking the prerequisite detectors) and starts the
    // sequence on the worker. Returns at once.
    void StartInstall();
    // UI thread, after the user confirmed: the sequence winds down at its next check.
    void RequestCancel();

    // The plan and its weights (published to the progress record); part of StartInstall.
    void BuildInstallPlan();
    // Waits until the sequence has ended (at once when it never started).
    void WaitForSequence();

    // The main package's Windows Installer result (0, 3010, 1602, ...), for the process exit
    // code; kNoPackageResult while the package has not been installed.
    static constexpr uint32_t kNoPackageResult = 0xFFFFFFFFu;
    uint32_t main_package_result() const noexcept { return main_package_result_; }
    // The product's home page seen during the installation; read it once the sequence ended.
    const std::wstring& captured_homepage_url() const noexcept { return captured_homepage_url_; }
    int32_t install_index() const noexcept { return sequence_.install_index(); }
    bool download_failed() const noexcept { return sequence_.download_failed(); }

    std::vector<InstallStep> steps;
    // Manual-reset, created not signalled; signalled once when the user confirms cancelling.
    nvx::UniqueHandle cancel_event;
    // Manual-reset, created signalled; reset while the cancel question is on screen, which
    // holds downloads still until it is set again.
    nvx::UniqueHandle resume_gate;
    std::atomic<bool> cancel_requested{false};

    // Where the engine's diagnostics go (every installer message, the package failure line):
    // the debugger output unless a test listens. Set before StartInstall.
    std::function<void(const std::wstring&)> debug_output;

private:
    // The sequence's actions (engine/InstallSequence.h), carried out on the worker.
    VersionCheckOutcome CheckServerVersion() override;
    bool DownloadStep(const InstallStep& step, const DownloadReport& report) override;
    bool FileExists(const std::wstring& path) override;
    bool InstallPackage(const InstallStep& step, int32_t install_index) override;
    void RunExternalInstaller(const InstallStep& step) override;
    void WriteProductSettings() override;
    void PublishHomepage() override;
    void ShowDownloadFailure() override;

    // The one place a download runs: the version file and every step's file.
    bool DownloadFile(const std::wstring& url, const std::wstring& local_path, const DownloadReport& report);

    void RunInstallSequence() noexcept;

    // Windows Installer, for the product's package (engine/MsiPackageInstall.cpp).
    bool InstallMsiPackage(const InstallStep& step);
    static INT CALLBACK OnInstallerMessage(LPVOID context, UINT message_type, LPCWSTR text);
    int HandleInstallerMessage(UINT message_type, const wchar_t* text);
    int OnProgressMessage(const wchar_t* text);
    int OnInfoMessage(const wchar_t* text);
    int ShowInstallerMessageBox(UINT message_type, const wchar_t* text);

    void Debug(const std::wstring& line) const;

    CInstallConfig& config_;
    const LaunchOptions& app_;
    InstallProgress& progress_;

    // The package being installed, used by the worker only (installer_cancel_ excepted).
    int32_t package_step_index_ = -1;
    bool first_message_ = true;
    CPackageProgress package_progress_;
    std::atomic<bool> installer_cancel_{false}; // set by the UI thread: answer IDCANCEL
    std::wstring captured_homepage_url_;
    std::atomic<uint32_t> main_package_result_{kNoPackageResult};

    CInstallSequence sequence_;
    std::future<void> sequence_task_;
};
