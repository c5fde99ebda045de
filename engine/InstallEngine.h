#pragma once
// The installation engine. So far: the two events through which the UI thread steers the
// downloads running on the engine's worker.
#include "framework/Handles.h"

class CInstallEngine {
public:
    CInstallEngine();
    CInstallEngine(const CInstallEngine&) = delete;
    CInstallEngine& operator=(const CInstallEngine&) = delete;

    // Manual-reset, created not signalled; signalled once when the user confirms cancelling.
    nvx::UniqueHandle cancel_event;
    // Manual-reset, created signalled; reset while the cancel question is on screen, which
    // holds downloads still until it is set again.
    nvx::UniqueHandle resume_gate;
};
