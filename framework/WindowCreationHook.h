#pragma once
// Attaches an object to the next window the current thread creates, so that a dialog
// object sees every message of its window, WM_NCCREATE included.
#include <windows.h>

class CWnd;

class CWindowCreationHook {
public:
    explicit CWindowCreationHook(CWnd* object) noexcept;
    ~CWindowCreationHook();
    CWindowCreationHook(const CWindowCreationHook&) = delete;
    CWindowCreationHook& operator=(const CWindowCreationHook&) = delete;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wparam, LPARAM lparam);
    HHOOK hook_ = nullptr;
    CWnd* previous_ = nullptr;
};
