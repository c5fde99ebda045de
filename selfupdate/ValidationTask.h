#pragma once
// The validator's background check, run on a worker thread while the validator window shows
// its moving bar: wait a moment (so the window does not merely flash), ask CheckVersions and
// act on the answer: go on, report the server as unreachable, offer to start the installed
// copy, or fetch a newer installer. Message boxes are owned by the validator window, which is
// hidden first. The worker never closes the window itself: it posts WM_CLOSE when done.
#include "config/InstallConfig.h"
#include "selfupdate/ValidationOutcome.h"

#include <windows.h>

#include <atomic>

struct ValidationTaskContext {
    HWND validator;
    CInstallConfig& config;
    const LaunchOptions& app;
    ValidationState& state;      // written here, read by the UI thread after the modal loop
    std::atomic<bool>& finished; // set just before WM_CLOSE is posted
};

inline constexpr DWORD kValidationDelayMs = 200;

void ValidationTask(const ValidationTaskContext& context);
