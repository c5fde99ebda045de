#pragma once
// The owner of the engine's message boxes.
#include <windows.h>

// The application's main window (the install guide), or null when there is none.
HWND GuideWindow() noexcept;
