#pragma once
// Runs the whole installation sequence without the wizard: loads the configuration of an
// installer folder as start-up does, lets the test make the settings page's choices, starts
// the engine and waits for the end. Prompts are answered (IDOK) and kept; the diagnostic
// channel's lines are kept too.
#include "config/InstallConfig.h"
#include "engine/InstallEngine.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/PromptRecorder.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace enginetest {

class CEngineDriver {
public:
    // The configuration of the installer at `module_path` (its folder holds config\).
    explicit CEngineDriver(const std::wstring& module_path);
    ~CEngineDriver();
    CEngineDriver(const CEngineDriver&) = delete;
    CEngineDriver& operator=(const CEngineDriver&) = delete;

    // The settings page's choices: a language from the list, the folder (created when it is
    // missing, as the page does), the file-association level.
    void Choose(int32_t language_id, const std::wstring& install_folder, int32_t file_association);

    CInstallEngine& engine();
    void Start();
    // Waits for a final state, then for the worker to end; the final state.
    InstallState WaitForEnd(DWORD timeout_ms = 240000);
    InstallState Run() {
        Start();
        return WaitForEnd();
    }
    // Waits (pumping messages) until the condition holds; false when the time ran out.
    bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms = 60000);
    // The engine and its worker are gone.
    void Destroy() { engine_.reset(); }

    std::vector<std::wstring> DebugLines() const;
    bool SawDebugLine(const std::wstring& text) const;
    std::vector<std::wstring> BoxTexts() const { return boxes_.Texts(); }
    std::vector<nvx::PromptRequest> Boxes() const { return boxes_.Requests(); }
    // Every overall percent the progress page would have shown, sampled while waiting.
    const std::vector<float>& percents() const { return percents_; }

    CInstallConfig config;
    LaunchOptions app;
    InstallProgress progress;
    HWND prompt_owner = nullptr; // what the wizard window would be

private:
    CPromptRecorder boxes_;
    CDiagnosticRecorder diagnostics_;
    std::unique_ptr<CInstallEngine> engine_;
    std::vector<float> percents_;
};

// The two events a holding fixture (an installer started with "/hold", the package's
// WaitForRelease action) meets the test at.
class CHoldPoint {
public:
    CHoldPoint();
    ~CHoldPoint(); // releases the holder
    CHoldPoint(const CHoldPoint&) = delete;
    CHoldPoint& operator=(const CHoldPoint&) = delete;

    bool WaitUntilHolding(DWORD timeout_ms = 60000) const;
    void Release() const { ::SetEvent(release_.get()); }

private:
    nvx::UniqueHandle started_;
    nvx::UniqueHandle release_;
};

} // namespace enginetest
