#include "engine/InstallEngine.h"

CInstallEngine::CInstallEngine()
    : cancel_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      resume_gate(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
