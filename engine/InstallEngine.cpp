#include "engine/InstallEngine.h"

#include "engine/InstallPlan.h"
#include "engine/Prerequisites.h"
#include "framework/Diagnostics.h"
#include "framework/ExceptionGuard.h"
#include "net/InternetSession.h"

#include <system_error>

CInstallEngine::CInstallEngine(CInstallConfig& config, const LaunchOptions& options,
                               InstallProgress& progress)
    : config_(config), options_(options), progress_(progress),
      actions_(config, options, choices_, progress, signals_, steps_),
      layout_actions_(config, options.layout_folder, actions_),
      sequence_(steps_, progress_, signals_.cancel_requested,
                Layout() ? static_cast<IInstallActions&>(layout_actions_) : actions_,
                Layout() ? SequenceMode::Layout : SequenceMode::Install) {}

CInstallEngine::~CInstallEngine() {
    // The worker uses the events and every field: it ends before anything is released.
    WaitForSequence();
}

void CInstallEngine::WaitForSequence() {
    if (sequence_task_.valid())
        sequence_task_.wait();
}

void CInstallEngine::BuildInstallPlan() {
    choices_ = ChoicesFrom(config_, options_);
    PlanInputs inputs{config_.manifest, choices_};
    inputs.msi_folder = config_.msi_folder;
    inputs.transform_folder = config_.transform_folder;
    inputs.is_prerequisite_installed = IsPrerequisiteInstalled;
    inputs.make_download_path = [this](const std::wstring& name) { return config_.MakeDownloadPath(name); };
    inputs.make_language_pack_path = [this](int32_t id) { return config_.MakeLanguagePackPath(id); };
    inputs.installed_language_packs = [this] {
        std::vector<int32_t> ids = config_.GetInstalledLanguagePacks();
        std::wstring listed;
        for (int32_t id : ids)
            listed += L" " + std::to_wstring(id);
        nvx::Diagnose(L"detect",
                      L"installed language packs:" + (listed.empty() ? std::wstring(L" none") : listed));
        return ids;
    };

    InstallPlan plan =
        Layout() ? BuildLayoutPlan(config_.manifest, layout_actions_.folders()) : ::BuildInstallPlan(inputs);
    steps_ = std::move(plan.steps);
    progress_.download_weights = std::move(plan.download_weights);
    progress_.install_weights = std::move(plan.install_weights);
    size_t download_index = 0;
    for (size_t i = 0; i < steps_.size(); ++i) {
        const InstallStep& step = steps_[i];
        std::wstring download;
        if (step.download && download_index < progress_.download_weights.size())
            download = L" from " + step.url + L" (download weight " +
                       std::to_wstring(progress_.download_weights[download_index++]) + L")";
        const std::wstring install =
            i < progress_.install_weights.size()
                ? L", install weight " + std::to_wstring(progress_.install_weights[i])
                : std::wstring();
        nvx::Diagnose(L"engine", L"plan: " + step.name + download + L" to " + step.local_path + install +
                                     (step.command_line.empty() ? L"" : L", arguments " + step.command_line));
    }
    if (steps_.empty())
        nvx::Diagnose(L"engine", L"plan: nothing to install");
}

void CInstallEngine::StartInstall(HWND prompt_owner) {
    // Once per engine: a second sequence would race the first over every field.
    if (sequence_task_.valid())
        return;
    actions_.SetPromptOwner(prompt_owner);
    BuildInstallPlan();
    OpenInternetSession();
    try {
        sequence_task_ = std::async(std::launch::async, [this] { RunInstallSequence(); });
    } catch (const std::system_error&) {
        nvx::Diagnose(L"engine", L"the installation's worker cannot start");
        progress_.SetInstallState(InstallState::Failed, -1, 0);
    }
}

void CInstallEngine::RunInstallSequence() noexcept {
    bool ended = nvx::GuardedCall("CInstallEngine::RunInstallSequence", [this] {
        sequence_.Run();
        return true;
    });
    if (!ended)
        sequence_.EndAfterFault();
    const InstallState state = progress_.State();
    nvx::Diagnose(L"engine",
                  std::wstring(L"the installation ended: ") +
                      (state == InstallState::Finished    ? L"finished"
                       : state == InstallState::Cancelled ? L"cancelled"
                                                          : L"failed") +
                      L"; the product package's result " +
                      (main_package_result() == kNoPackageResult ? std::wstring(L"none (not installed)")
                                                                 : std::to_wstring(main_package_result())));
}

void CInstallEngine::RequestCancel() {
    if (signals_.cancel_event && signals_.resume_gate) {
        progress_.BeginCancelling();
        ::SetEvent(signals_.cancel_event.get());
        // A download held by the pause gate wakes up and sees the cancel.
        ::SetEvent(signals_.resume_gate.get());
    } else {
        // Without events a running download cannot be told; the sequence stops at its next check.
        progress_.SetInstallState(InstallState::Cancelled, -1, 0);
    }
    // The next progress record of a package installation answers with a cancel too.
    signals_.cancel_requested = true;
    nvx::Diagnose(L"engine", L"cancel requested");
}

void CInstallEngine::PauseDownloads() {
    if (signals_.resume_gate)
        ::ResetEvent(signals_.resume_gate.get());
}

void CInstallEngine::ResumeDownloads() {
    if (signals_.resume_gate)
        ::SetEvent(signals_.resume_gate.get());
}

bool CInstallEngine::DownloadsPaused() const noexcept {
    return signals_.resume_gate && ::WaitForSingleObject(signals_.resume_gate.get(), 0) != WAIT_OBJECT_0;
}

bool CInstallEngine::CancelSignalled() const noexcept {
    return signals_.cancel_event && ::WaitForSingleObject(signals_.cancel_event.get(), 0) == WAIT_OBJECT_0;
}

EngineProgress CInstallEngine::Progress() const {
    EngineProgress snapshot;
    snapshot.state = progress_.State();
    snapshot.percent = OverallPercent(progress_);
    snapshot.has_downloads = !progress_.download_weights.empty();
    return snapshot;
}

bool CInstallEngine::NoteRefreshStart(uint32_t now) noexcept {
    uint32_t expected = 0;
    return progress_.start_tick.compare_exchange_strong(expected, now);
}
