#pragma once
// The cancel query of a transfer, answered from the installation engine's two events: the
// cancel event (signalled: stop) and the pause gate (reset: hold still). Neither is owned and
// either may be null; with both null it never reports a cancel or a pause.
#include "net/DownloadStatus.h"

#include <windows.h>

struct CancelRequest final : public ICancelRequest {
    CancelRequest(HANDLE cancel_event = nullptr, HANDLE resume_gate = nullptr) noexcept
        : cancel_event(cancel_event), resume_gate(resume_gate) {}

    bool IsCancelRequested() override;
    bool IsPauseRequested() override;

    HANDLE cancel_event;
    HANDLE resume_gate;
};
