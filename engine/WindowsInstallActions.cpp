#include "engine/WindowsInstallActions.h"

#include "engine/DiskSpaceMessage.h"
#include "engine/DownloadTrust.h"
#include "engine/ExternalInstaller.h"
#include "engine/PackageProperties.h"
#include "engine/ProductSettingsWriter.h"
#include "framework/Diagnostics.h"
#include "framework/UserPrompt.h"
#include "localization/MessageText.h"
#include "net/CancelRequest.h"
#include "net/RunDownloadJob.h"

#include <shlwapi.h>

namespace {

// The version messages carry the installer's caption, as the product's own installers do.
constexpr wchar_t kVersionMessageCaption[] = L"Windows Installer";

} // namespace

CWindowsInstallActions::CWindowsInstallActions(CInstallConfig& config, const LaunchOptions& options,
                                               const InstallChoices& choices, InstallProgress& progress,
                                               EngineSignals& signals)
    : config_(config), options_(options), choices_(choices), progress_(progress), signals_(signals),
      msi_(signals.cancel_requested, [this](int32_t percent) {
          progress_.SetInstallState(InstallState::Installing, package_step_index_, percent);
      }) {}

void CWindowsInstallActions::SetPromptOwner(HWND owner) {
    prompt_owner_ = owner;
    msi_.SetPrompt(owner, config_.manifest.short_name);
}

bool CWindowsInstallActions::DownloadFile(const std::wstring& url, const std::wstring& local_path,
                                          const DownloadReport& report) {
    CDownloadJob job(url, local_path);
    CancelRequest cancel(signals_.cancel_event.get(), signals_.resume_gate.get());
    const bool fetched = RunDownloadJob(
        job, &cancel, [&report](const DownloadStatusInfo& status) { report(status.received, status.total); });
    nvx::Diagnose(L"engine", (fetched ? L"downloaded " : L"download failed: ") + url + L" to " + local_path);
    if (job.failure == DownloadFailure::NoRoom) {
        // Told at once and instead of the connection message: this is no network problem.
        disk_space_told_ = true;
        const std::wstring text = config_.language.LookupUIString(ui::kErrDownloadDiskSpace);
        nvx::Prompt(prompt_owner_, DiskSpaceMessage(text, local_path, static_cast<uint64_t>(job.size)),
                    config_.manifest.short_name, MB_ICONERROR);
    }
    return fetched;
}

VersionCheckOutcome CWindowsInstallActions::CheckServerVersion() {
    const ManifestInfo& manifest = config_.manifest;
    if (!manifest.standalone && !manifest.version_check_url.empty()) {
        std::wstring path = config_.MakeDownloadPath(L"version.xml");
        bool fetched = DownloadFile(manifest.version_check_url, path, [](uint64_t, uint64_t) {});
        if (!fetched || !ParseVersionXml(path, config_.manifest))
            return VersionCheckOutcome::DownloadFailed;
    }
    std::wstring text;
    switch (config_.EvaluateVersionState(options_)) {
    case VersionCheckResult::Proceed:
        return VersionCheckOutcome::Proceed;
    case VersionCheckResult::AlreadyInstalled:
        text =
            FillPlaceholder(config_.language.LookupUIString(ui::kErrInstalledAlready), manifest.short_name);
        break;
    case VersionCheckResult::ClientTooOld:
        text = config_.language.LookupUIString(ui::kErrClientTooOld);
        break;
    default:
        return VersionCheckOutcome::Refused;
    }
    // Which button the user presses makes no difference here.
    nvx::Prompt(prompt_owner_, text, kVersionMessageCaption, MB_OKCANCEL | MB_ICONERROR);
    return VersionCheckOutcome::Refused;
}

bool CWindowsInstallActions::DownloadStep(const InstallStep& step, const DownloadReport& report) {
    if (!DownloadFile(step.url, step.local_path, report))
        return false;
    // A refused file has been told about by name: it is no connection problem.
    file_refused_ = !AcceptDownloadedFile(step, config_);
    return !file_refused_;
}

bool CWindowsInstallActions::FileExists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

bool CWindowsInstallActions::InstallPackage(const InstallStep& step, int32_t install_index) {
    package_step_index_ = install_index;
    PackagePropertyInputs inputs;
    inputs.choices = choices_;
    inputs.install_folder_exists = ::PathFileExistsW(choices_.install_folder.c_str()) != FALSE;
    inputs.transform_folder = config_.transform_folder;
    const UINT result = msi_.Install(step.local_path, BuildPackageProperties(inputs));
    main_package_result_ = result;
    return result == ERROR_SUCCESS || result == ERROR_SUCCESS_REBOOT_REQUIRED;
}

void CWindowsInstallActions::RunExternalInstaller(const InstallStep& step) {
    ::RunExternalInstaller(step);
}

void CWindowsInstallActions::WriteProductSettings() {
    ::WriteProductSettings(choices_, config_.manifest);
}

void CWindowsInstallActions::PublishHomepage() {
    config_.install_homepage_url = msi_.captured_homepage_url();
}

void CWindowsInstallActions::ShowDownloadFailure() {
    if (disk_space_told_ || file_refused_)
        return;
    const std::wstring text = config_.language.LookupUIString(ui::kErrConnectDownloadServer);
    // No owner: the wizard may be gone from the screen by now.
    nvx::Prompt(nullptr, text, config_.manifest.short_name, MB_ICONERROR);
}
