#include "framework/WindowCreationHook.h"

#include "framework/Wnd.h"

#include <utility>

namespace {
thread_local CWnd* pending_object = nullptr;
thread_local HHOOK current_hook = nullptr;
} // namespace

CWindowCreationHook::CWindowCreationHook(CWnd* object) noexcept : previous_(pending_object) {
    pending_object = object;
    hook_ = ::SetWindowsHookExW(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId());
    current_hook = hook_;
}

CWindowCreationHook::~CWindowCreationHook() {
    if (hook_)
        ::UnhookWindowsHookEx(hook_);
    pending_object = previous_;
    current_hook = nullptr;
}

LRESULT CALLBACK CWindowCreationHook::HookProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND && pending_object) {
        CWnd* object = std::exchange(pending_object, nullptr);
        object->SubclassWindow(reinterpret_cast<HWND>(wparam));
    }
    return ::CallNextHookEx(current_hook, code, wparam, lparam);
}
