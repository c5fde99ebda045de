#include "engine/InstallEngine.h"

#include "framework/ExceptionGuard.h"
#include "engine/ExternalInstaller.h"
#include "engine/InstallPlan.h"
#include "engine/Prerequisites.h"
#include "engine/ProductSettingsWriter.h"
#include "net/InternetSession.h"

#include <shlwapi.h>

#include <system_error>

namespace {

const LaunchOptions kFirstInstallation{};

} // namespace

CInstallEngine::CInstallEngine(CInstallConfig& config, const LaunchOptions& app, InstallProgress& progress)
    : cancel_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      resume_gate(::CreateEventW(nullptr, TRUE, TRUE, nullptr)),
      debug_output([](const std::wstring& line) { ::OutputDebugStringW(line.c_str()); }), config_(config),
      app_(app), progress_(progress), package_progress_([this](int32_t percent) {
          progress_.SetInstallState(InstallState::Installing, package_step_index_, percent);
      }),
      sequence_(steps, progress_, cancel_requested, *this) {}

CInstallEngine::CInstallEngine() : CInstallEngine(theConfig, kFirstInstallation) {}

CInstallEngine::~CInstallEngine() {
    // The worker uses the events and every field: it ends before anything is released.
    WaitForSequence();
}

void CInstallEngine::WaitForSequence() {
    if (sequence_task_.valid())
        sequence_task_.wait();
}

void CInstallEngine::BuildInstallPlan() {
    PlanInputs inputs{config_.manifest};
    inputs.msi_folder = config_.msi_folder;
    inputs.transform_folder = config_.transform_folder;
    inputs.language_id = config_.language.language_id;
    inputs.language_choice_enabled = config_.language_choice_enabled != 0;
    inputs.product_installed = app_.product_installed != 0;
    inputs.is_prerequisite_installed = IsPrerequisiteInstalled;
    inputs.make_download_path = [this](const std::wstring& name) { return config_.MakeDownloadPath(name); };
    inputs.make_language_pack_path = [this](int32_t id) { return config_.MakeLanguagePackPath(id); };
    inputs.installed_language_packs = [this] { return config_.GetInstalledLanguagePacks(); };

    InstallPlan plan = ::BuildInstallPlan(inputs);
    steps = std::move(plan.steps);
    progress_.download_weights = std::move(plan.download_weights);
    progress_.install_weights = std::move(plan.install_weights);
}

void CInstallEngine::StartInstall() {
    // Once per engine: a second sequence would race the first over every field.
    if (sequence_task_.valid())
        return;
    BuildInstallPlan();
    OpenInternetSession();
    try {
        sequence_task_ = std::async(std::launch::async, [this] { RunInstallSequence(); });
    } catch (const std::system_error&) {
        // No thread for the worker: nothing can run.
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
}

void CInstallEngine::RequestCancel() {
    if (cancel_event && resume_gate) {
        progress_.BeginCancelling();
        ::SetEvent(cancel_event.get());
        // A download held by the pause gate wakes up and sees the cancel.
        ::SetEvent(resume_gate.get());
    } else {
        // Without events a running download cannot be told; the sequence stops at its next check.
        progress_.SetInstallState(InstallState::Cancelled, -1, 0);
    }
    installer_cancel_ = true;
    cancel_requested = true;
}

bool CInstallEngine::FileExists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

void CInstallEngine::RunExternalInstaller(const InstallStep& step) {
    ::RunExternalInstaller(step);
}

void CInstallEngine::WriteProductSettings() {
    ::WriteProductSettings(config_, app_);
}

void CInstallEngine::PublishHomepage() {
    config_.install_homepage_url = captured_homepage_url_;
}

void CInstallEngine::Debug(const std::wstring& line) const {
    if (debug_output)
        debug_output(line);
}
