#pragma once
// What the UI thread tells the installation worker: the cancel (an event that downloads test
// between reads, and a flag that the sequence tests before every step) and the pause gate
// (reset while the user is asked whether to cancel: downloads hold still). The worker only
// tests them, never waits on them.
#include "framework/Handles.h"

#include <windows.h>

#include <atomic>

struct EngineSignals {
    // Manual-reset, created not signalled; signalled once when the user confirms cancelling.
    nvx::UniqueHandle cancel_event{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    // Manual-reset, created signalled.
    nvx::UniqueHandle resume_gate{::CreateEventW(nullptr, TRUE, TRUE, nullptr)};
    std::atomic<bool> cancel_requested{false};
};
