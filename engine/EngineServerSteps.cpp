// The sequence's work with the download server: the release data checked again before
// anything is fetched, and every planned file downloaded.
#include "engine/EngineMessageBox.h"
#include "engine/InstallEngine.h"
#include "localization/MessageText.h"
#include "net/CancelRequest.h"
#include "net/RunDownloadJob.h"

namespace {

// The version messages carry the installer's caption, as the product's own installers do.
constexpr wchar_t kVersionMessageCaption[] = L"Windows Installer";

} // namespace

bool CInstallEngine::DownloadFile(const std::wstring& url, const std::wstring& local_path,
                                  const DownloadReport& report) {
    CDownloadJob job(url, local_path);
    CancelRequest cancel(cancel_event.get(), resume_gate.get());
    return RunDownloadJob(
        job, &cancel, [&report](const DownloadStatusInfo& status) { report(status.received, status.total); });
}

VersionCheckOutcome CInstallEngine::CheckServerVersion() {
    const ManifestInfo& manifest = config_.manifest;
    if (!manifest.standalone && !manifest.version_check_url.empty()) {
        std::wstring path = config_.MakeDownloadPath(L"version.xml");
        bool fetched = DownloadFile(manifest.version_check_url, path, [](uint64_t, uint64_t) {});
        if (!fetched || !config_.ParseVersionXml(path))
            return VersionCheckOutcome::DownloadFailed;
    }
    std::wstring text;
    switch (config_.EvaluateVersionState(app_)) {
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
    ::MessageBoxW(GuideWindow(), text.c_str(), kVersionMessageCaption, MB_OKCANCEL | MB_ICONERROR);
    return VersionCheckOutcome::Refused;
}

bool CInstallEngine::DownloadStep(const InstallStep& step, const DownloadReport& report) {
    return DownloadFile(step.url, step.local_path, report);
}

void CInstallEngine::ShowDownloadFailure() {
    std::wstring text = config_.language.LookupUIString(ui::kErrConnectDownloadServer);
    ::MessageBoxW(nullptr, text.c_str(), config_.manifest.short_name.c_str(), MB_ICONERROR);
}
