#pragma once
// The actions of an offline layout ("/layout FOLDER"): the server's release data fetched for the
// standalone version, every file downloaded under a working name and given its own only once it
// is whole, then the installer, its language files and a standalone manifest copied beside
// them. Nothing is installed; the downloads themselves are the installation's.
#include "config/InstallConfig.h"
#include "engine/InstallSequence.h"
#include "engine/LayoutPlan.h"
#include "engine/WindowsInstallActions.h"

#include <string>

class CLayoutActions final : public IInstallActions {
public:
    CLayoutActions(CInstallConfig& config, const std::wstring& layout_folder,
                   CWindowsInstallActions& downloads);

    const LayoutFolders& folders() const noexcept { return folders_; }

    VersionCheckOutcome CheckServerVersion() override;
    bool DownloadStep(const InstallStep& step, const DownloadReport& report) override;
    bool FileExists(const std::wstring&) override { return true; }
    bool CheckStepFile(const InstallStep&) override { return false; } // each is checked as it arrives
    bool InstallPackage(const InstallStep&, int32_t) override { return false; }
    void RunExternalInstaller(const InstallStep&) override {}
    void WriteProductSettings() override {}
    void PublishHomepage() override {}
    void ShowDownloadFailure() override { downloads_.ShowDownloadFailure(); }
    bool CompleteLayout() override;

private:
    CInstallConfig& config_;
    LayoutFolders folders_;
    CWindowsInstallActions& downloads_;
};

// The name a file is written under until it is whole.
std::wstring LayoutWorkingName(const std::wstring& path);
