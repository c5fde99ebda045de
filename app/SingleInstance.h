#pragma once
#include "framework/Handles.h"

inline constexpr wchar_t kInstanceSemaphoreName[] = L"NVXMasterInstaller";
inline constexpr wchar_t kInstallerWindowClass[] = L"NVXMasterInstallerClassName";

// Creates the single-instance semaphore into `semaphore`. Answers false when another copy
// already holds it; that copy's window is then restored and brought to the front.
// A semaphore that cannot be created counts as being the first copy.
bool ClaimSingleInstance(nvx::UniqueHandle& semaphore) noexcept;

// Registers the installer's window class: the system dialog class under our own name, so
// that the main windows can be found by a second copy.
bool RegisterInstallerWindowClass() noexcept;
