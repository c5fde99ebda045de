#include "tests/engine/EngineDriver.h"

#include "tests/support/InstallerProcess.h"

#include <shlobj.h>

namespace enginetest {

CEngineDriver::CEngineDriver(const std::wstring& module_path) {
    config.LoadConfigurationFor(module_path, app);
}

CEngineDriver::~CEngineDriver() {
    engine_.reset();
}

void CEngineDriver::Choose(int32_t language_id, const std::wstring& install_folder,
                           int32_t file_association) {
    config.language.language_id = language_id;
    config.install_folder = install_folder;
    config.file_association = file_association;
    ::SHCreateDirectoryExW(nullptr, install_folder.c_str(), nullptr);
}

CInstallEngine& CEngineDriver::engine() {
    if (!engine_)
        engine_ = std::make_unique<CInstallEngine>(config, app, progress);
    return *engine_;
}

void CEngineDriver::Start() {
    engine().StartInstall(prompt_owner);
}

bool CEngineDriver::WaitFor(const std::function<bool()>& condition, DWORD timeout_ms) {
    return nvxtest::WaitUntil(
        [&] {
            percents_.push_back(OverallPercent(progress));
            return condition();
        },
        timeout_ms);
}

InstallState CEngineDriver::WaitForEnd(DWORD timeout_ms) {
    WaitFor([this] { return IsFinalState(progress.State()); }, timeout_ms);
    if (IsFinalState(progress.State()))
        engine().WaitForSequence();
    percents_.push_back(OverallPercent(progress));
    return progress.State();
}

std::vector<std::wstring> CEngineDriver::DebugLines() const {
    return diagnostics_.Texts();
}

bool CEngineDriver::SawDebugLine(const std::wstring& text) const {
    for (const std::wstring& line : DebugLines()) {
        if (line.find(text) != std::wstring::npos)
            return true;
    }
    return false;
}

CHoldPoint::CHoldPoint()
    : started_(::CreateEventW(nullptr, TRUE, FALSE, L"NvxEngineTestStarted")),
      release_(::CreateEventW(nullptr, TRUE, FALSE, L"NvxEngineTestRelease")) {
    ::ResetEvent(started_.get());
    ::ResetEvent(release_.get());
}

CHoldPoint::~CHoldPoint() {
    Release();
}

bool CHoldPoint::WaitUntilHolding(DWORD timeout_ms) const {
    return nvxtest::WaitUntil([this] { return ::WaitForSingleObject(started_.get(), 0) == WAIT_OBJECT_0; },
                              timeout_ms);
}

} // namespace enginetest
