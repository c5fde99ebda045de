#pragma once
// The two events through which the UI thread steers a download, as the installation engine
// holds them (cancel: manual-reset, not signalled; pause gate: manual-reset, open), and the
// cancel query a job observes them through.
#include "framework/Handles.h"
#include "net/CancelRequest.h"

#include <windows.h>

struct CCancelEvents {
    nvx::UniqueHandle cancel_event{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    nvx::UniqueHandle resume_gate{::CreateEventW(nullptr, TRUE, TRUE, nullptr)};
    CancelRequest query{cancel_event.get(), resume_gate.get()};
};
