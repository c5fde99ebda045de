#pragma once
// Attaches an object to the next window the current thread creates, so that the object sees
// every message of its window, WM_NCCREATE included. The hook goes away as soon as the window
// is attached; a hook set up while another one waits (a window created while preparing
// another) takes the next window, and the outer one gets the window after it.
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
    void Unhook() noexcept;

    CWnd* object_;
    HHOOK hook_ = nullptr;
    CWindowCreationHook* outer_;
};
