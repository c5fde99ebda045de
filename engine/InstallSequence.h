#pragma once
// The installation sequence as it runs on the engine's worker: check the server's release
// data, download every planned file, install the steps in plan order, then record the
// product's settings; and which final state each road ends in. It does no I/O of its own:
// everything that touches the machine goes through IInstallActions, so the order of checks,
// reports and state changes is the same whatever carries them, and is tested with scripted
// actions.
#include "engine/InstallProgress.h"
#include "engine/InstallStep.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

enum class VersionCheckOutcome {
    Proceed,
    DownloadFailed, // the release data could not be fetched or read
    Refused,        // already installed, or this installer is too old (the user was told)
};

class IInstallActions {
public:
    using DownloadReport = std::function<void(uint64_t received, uint64_t total)>;

    virtual VersionCheckOutcome CheckServerVersion() = 0;
    // Fetches a step's file to its local path, passing on each report. True when the whole
    // file arrived.
    virtual bool DownloadStep(const InstallStep& step, const DownloadReport& report) = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    // Right before a step uses its file: holds it against change and checks it against its pin
    // (and those of the files the step takes along). False: the file was refused (deleted, the
    // user told), and the step fails.
    virtual bool CheckStepFile(const InstallStep& step) = 0;
    // Installs the product's package as step `install_index`; true on success.
    virtual bool InstallPackage(const InstallStep& step, int32_t install_index) = 0;
    // Runs an installer process; its outcome is not judged.
    virtual void RunExternalInstaller(const InstallStep& step) = 0;
    virtual void WriteProductSettings() = 0;
    // Hands the home page captured during the installation to the rest of the program.
    virtual void PublishHomepage() = 0;
    // Tells the user that the download server could not be reached; returns when dismissed.
    virtual void ShowDownloadFailure() = 0;
    // An offline layout, once every file is in place: what makes the folder a standalone
    // package (the installer, its language files, the manifest). True when all is written.
    virtual bool CompleteLayout() = 0;

protected:
    ~IInstallActions() = default;
};

// Install: the product's installation. Layout: the same check and downloads, then the layout is
// completed instead of installing anything.
enum class SequenceMode { Install, Layout };

class CInstallSequence {
public:
    CInstallSequence(const std::vector<InstallStep>& steps, InstallProgress& progress,
                     const std::atomic<bool>& cancel_requested, IInstallActions& actions,
                     SequenceMode mode = SequenceMode::Install)
        : steps_(steps), progress_(progress), cancel_requested_(cancel_requested), actions_(actions),
          mode_(mode) {}

    // The whole sequence; ends in Finished, Failed or Cancelled.
    void Run();
    // After an exception escaped Run: Cancelled when a cancel was under way, else Failed.
    void EndAfterFault() noexcept;

    [[nodiscard]] bool DownloadAll();
    [[nodiscard]] bool InstallAll();

    int32_t install_index() const noexcept { return install_index_; }
    bool download_failed() const noexcept { return download_failed_; }
    bool main_package_missing() const noexcept { return main_package_missing_; }

private:
    const std::vector<InstallStep>& steps_;
    InstallProgress& progress_;
    const std::atomic<bool>& cancel_requested_;
    IInstallActions& actions_;
    SequenceMode mode_;
    int32_t install_index_ = -1;
    bool download_failed_ = false;
    bool main_package_missing_ = false;
};

// A download report as a percent: received × 100 / total, 0 while the total is unknown.
int32_t DownloadPercent(uint64_t received, uint64_t total) noexcept;
