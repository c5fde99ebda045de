#include "engine/WindowsInstallActions.h"

#include "config/Sha256Pin.h"
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
// The server's release data is a few hundred bytes; anything this large is not it.
constexpr uint64_t kVersionXmlLimit = 1024 * 1024;

// The engine's cancel, and a stop as soon as a transfer announces or brings more than `limit`
// bytes (0: no limit), so that an endless answer cannot fill the disk.
class CSizeLimitedCancel final : public ICancelRequest {
public:
    CSizeLimitedCancel(ICancelRequest& engine_cancel, uint64_t limit) noexcept
        : engine_cancel_(engine_cancel), limit_(limit) {}

    bool IsCancelRequested() override { return too_large_ || engine_cancel_.IsCancelRequested(); }
    bool IsPauseRequested() override { return engine_cancel_.IsPauseRequested(); }
    void Note(uint64_t received, uint64_t total) noexcept {
        too_large_ = too_large_ || (limit_ != 0 && (received > limit_ || total > limit_));
    }
    bool too_large() const noexcept { return too_large_; }

private:
    ICancelRequest& engine_cancel_;
    uint64_t limit_;
    bool too_large_ = false;
};

// A step's file is always below one of the installer's folders; without them (the start-up
// could not set them up) its path would be taken relative to the current folder.
bool HasItsFolder(const InstallStep& step) {
    if (!::PathIsRelativeW(step.local_path.c_str()))
        return true;
    nvx::Diagnose(L"engine", L"refused " + step.local_path + L": the installer's folders are not set up");
    return false;
}

} // namespace

CWindowsInstallActions::CWindowsInstallActions(CInstallConfig& config, const LaunchOptions& options,
                                               const InstallChoices& choices, InstallProgress& progress,
                                               EngineSignals& signals, const std::vector<InstallStep>& steps)
    : config_(config), options_(options), choices_(choices), progress_(progress), signals_(signals),
      steps_(steps), msi_(signals.cancel_requested, [this](int32_t percent) {
          progress_.SetInstallState(InstallState::Installing, package_step_index_, percent);
      }) {}

void CWindowsInstallActions::SetPromptOwner(HWND owner) {
    prompt_owner_ = owner;
    msi_.SetPrompt(owner, config_.manifest.short_name);
}

bool CWindowsInstallActions::DownloadFile(const std::wstring& url, const std::wstring& local_path,
                                          const DownloadReport& report, uint64_t size_limit) {
    CDownloadJob job(url, local_path);
    CancelRequest engine_cancel(signals_.cancel_event.get(), signals_.resume_gate.get());
    CSizeLimitedCancel cancel(engine_cancel, size_limit);
    const bool fetched = RunDownloadJob(job, &cancel, [&report, &cancel](const DownloadStatusInfo& status) {
        cancel.Note(status.received, status.total);
        report(status.received, status.total);
    });
    if (cancel.too_large()) {
        nvx::Diagnose(L"engine", L"download refused: " + url + L" is larger than " +
                                     std::to_wstring(size_limit) + L" bytes");
        ::DeleteFileW(local_path.c_str());
        return false;
    }
    nvx::Diagnose(L"engine", (fetched ? L"downloaded " : L"download failed: ") + url + L" to " + local_path);
    if (job.failure == DownloadFailure::NoRoom) {
        // Told at once and instead of the connection message: this is no network problem.
        failure_told_ = true;
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
        bool fetched = DownloadFile(
            manifest.version_check_url, path, [](uint64_t, uint64_t) {}, kVersionXmlLimit);
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
    if (!HasItsFolder(step))
        return false;
    if (!DownloadFile(step.url, step.local_path, report))
        return false;
    // A refused file has been told about by name: it is no connection problem.
    if (!AcceptDownloadedFile(step, config_)) {
        failure_told_ = true;
        return false;
    }
    // Held from now until its step has run: nobody replaces it in between.
    if (!held_.Hold(step.local_path)) {
        nvx::Diagnose(L"engine",
                      L"cannot hold " + step.local_path + L", error " + std::to_wstring(::GetLastError()));
        return false;
    }
    return true;
}

bool CWindowsInstallActions::FileExists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

const InstallStep* CWindowsInstallActions::PlannedTransform() const {
    for (const InstallStep& step : steps_) {
        if (step.kind == StepKind::Transform)
            return &step;
    }
    return nullptr;
}

bool CWindowsInstallActions::CheckHeldFile(const InstallStep& step) {
    bool refused = false;
    if (!HasItsFolder(step)) {
        refused = true;
    } else if (!held_.Hold(step.local_path)) {
        // Someone else has it open for writing or deleting: it may change under our feet.
        nvx::Diagnose(L"engine", L"refused " + step.local_path + L": it cannot be held (error " +
                                     std::to_wstring(::GetLastError()) + L")");
        refused = true;
    } else if (!held_.StillAtItsPath(step.local_path)) {
        nvx::Diagnose(L"engine",
                      L"refused " + step.local_path + L": the path no longer leads to the held file");
        refused = true;
    } else if (step.sha256) {
        Sha256Digest digest{};
        if (!held_.Digest(step.local_path, digest) || !PinAccepts(step.sha256, digest)) {
            nvx::Diagnose(L"engine", L"refused " + step.local_path + L": its SHA-256 is " +
                                         Sha256Text(digest) + L", the manifest pins " + *step.sha256);
            held_.Discard(step.local_path);
            refused = true;
        } else {
            nvx::Diagnose(L"engine", step.local_path + L" matches its SHA-256 pin");
        }
    }
    if (refused) {
        const std::wstring text =
            FillPlaceholder(config_.language.LookupUIString(ui::kErrFileNotTrusted), step.name);
        nvx::Prompt(nullptr, text, config_.manifest.short_name, MB_ICONERROR);
    }
    return !refused;
}

bool CWindowsInstallActions::CheckStepFile(const InstallStep& step) {
    // The package's installation applied the transform; it was checked for that.
    if (step.kind == StepKind::Transform && transform_checked_)
        return true;
    if (!CheckHeldFile(step))
        return false;
    if (step.kind == StepKind::Package) {
        // The transform goes in with the package: checked now, on the held file it will read.
        const InstallStep* transform = PlannedTransform();
        if (transform && FileExists(transform->local_path)) {
            if (!CheckHeldFile(*transform))
                return false;
            transform_checked_ = true;
        }
    }
    return true;
}

bool CWindowsInstallActions::InstallPackage(const InstallStep& step, int32_t install_index) {
    package_step_index_ = install_index;
    PackagePropertyInputs inputs;
    inputs.choices = choices_;
    inputs.install_folder_exists = ::PathFileExistsW(choices_.install_folder.c_str()) != FALSE;
    inputs.transform_folder = config_.transform_folder;
    inputs.transform_planned = transform_checked_;
    const UINT result = msi_.Install(step.local_path, BuildPackageProperties(inputs));
    main_package_result_ = result;
    held_.Release(step.local_path);
    if (const InstallStep* transform = PlannedTransform())
        held_.Release(transform->local_path);
    return result == ERROR_SUCCESS || result == ERROR_SUCCESS_REBOOT_REQUIRED;
}

void CWindowsInstallActions::RunExternalInstaller(const InstallStep& step) {
    ::RunExternalInstaller(step);
    held_.Release(step.local_path);
}

void CWindowsInstallActions::WriteProductSettings() {
    ::WriteProductSettings(choices_, config_.manifest);
}

void CWindowsInstallActions::PublishHomepage() {
    config_.install_homepage_url = msi_.captured_homepage_url();
}

void CWindowsInstallActions::ShowDownloadFailure() {
    if (failure_told_)
        return;
    const std::wstring text = config_.language.LookupUIString(ui::kErrConnectDownloadServer);
    // No owner: the wizard may be gone from the screen by now.
    nvx::Prompt(nullptr, text, config_.manifest.short_name, MB_ICONERROR);
}
