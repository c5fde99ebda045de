#pragma once
// The small window shown before the wizard while a worker asks the server whether this
// installer may be used (see ValidationTask). It cannot be closed by the user: the caption
// buttons are disabled, keys are swallowed, and only the worker's WM_CLOSE ends it, so start-up
// reads the outcome only after the check is over. In a silent run it is never shown.
#include "config/InstallConfig.h"
#include "selfupdate/ValidationOutcome.h"
#include "skin/NVXDialog.h"

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <string>

struct ValidationTaskContext;

class CClientValidator : public CNVXDialog, public ValidationState {
public:
    CClientValidator(CInstallConfig& config, const LaunchOptions& app);
    // Waits for the check if it is still running.
    ~CClientValidator() override;

    // Swallows every key press, so that Enter and Escape cannot end the dialog.
    BOOL PreTranslateMessage(MSG* msg) override;

    std::wstring title;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClientResized(const RECT& client) override;
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    // Starts the check on a worker thread of its own; throws when no thread can be had.
    virtual std::future<void> StartValidationTask(const ValidationTaskContext& context);

private:
    void EndAsFailedCheck();
    bool OnCloseRequest();

    CInstallConfig& config_;
    const LaunchOptions& app_;
    CWnd progress_bar_;
    std::future<void> validation_task_;
    std::atomic<bool> check_finished_{false};
    // When the window became visible: it stays at least as long as the check's delay.
    std::optional<std::chrono::steady_clock::time_point> shown_at_;
};
