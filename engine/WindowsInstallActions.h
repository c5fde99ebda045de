#pragma once
// The installation sequence's actions carried out on this machine: the server's release data
// checked again, files downloaded, the product's package installed through a Windows Installer
// session, other installers run as processes, the product's settings written, and the
// engine's message boxes. Used by the worker only, once the plan is complete.
#include "config/InstallConfig.h"
#include "config/LaunchOptions.h"
#include "engine/EngineSignals.h"
#include "engine/HeldFiles.h"
#include "engine/InstallChoices.h"
#include "engine/InstallProgress.h"
#include "engine/InstallSequence.h"
#include "engine/MsiSession.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class CWindowsInstallActions final : public IInstallActions {
public:
    // `choices` are read when the actions run: they hold what the plan was built from.
    // `steps` is the plan the sequence runs.
    CWindowsInstallActions(CInstallConfig& config, const LaunchOptions& options,
                           const InstallChoices& choices, InstallProgress& progress, EngineSignals& signals,
                           const std::vector<InstallStep>& steps);

    // The window that owns the engine's message boxes (the wizard); null: none.
    void SetPromptOwner(HWND owner);

    // The main package's Windows Installer result; kNoPackageResult until it was installed.
    static constexpr uint32_t kNoPackageResult = 0xFFFFFFFFu;
    uint32_t main_package_result() const noexcept { return main_package_result_; }
    const std::wstring& captured_homepage_url() const noexcept { return msi_.captured_homepage_url(); }

    VersionCheckOutcome CheckServerVersion() override;
    bool DownloadStep(const InstallStep& step, const DownloadReport& report) override;
    bool FileExists(const std::wstring& path) override;
    bool CheckStepFile(const InstallStep& step) override;
    // Lets a checked file go without running it (an offline layout keeps it).
    void ReleaseFile(const std::wstring& path) { held_.Release(path); }
    bool InstallPackage(const InstallStep& step, int32_t install_index) override;
    void RunExternalInstaller(const InstallStep& step) override;
    void WriteProductSettings() override;
    void PublishHomepage() override;
    void ShowDownloadFailure() override;
    // An installation makes no layout (engine/LayoutActions.h does).
    bool CompleteLayout() override { return false; }

private:
    bool DownloadFile(const std::wstring& url, const std::wstring& local_path, const DownloadReport& report,
                      uint64_t size_limit = 0);
    // Holds the step's file and compares it with its pin; a refused file is deleted and named
    // to the user.
    bool CheckHeldFile(const InstallStep& step);
    // The plan's transform step; null when the plan has none.
    const InstallStep* PlannedTransform() const;

    CInstallConfig& config_;
    const LaunchOptions& options_;
    const InstallChoices& choices_;
    InstallProgress& progress_;
    EngineSignals& signals_;
    const std::vector<InstallStep>& steps_;
    CHeldFiles held_;
    bool transform_checked_ = false; // the planned transform was held and checked for the package
    HWND prompt_owner_ = nullptr;
    // The user was told why the downloads stopped (no room, a refused file): no connection box.
    bool failure_told_ = false;
    int32_t package_step_index_ = -1;
    CMsiSession msi_;
    std::atomic<uint32_t> main_package_result_{kNoPackageResult};
};
