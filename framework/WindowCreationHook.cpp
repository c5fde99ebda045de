#include "framework/WindowCreationHook.h"

#include "framework/Wnd.h"

#include <cwchar>
#include <utility>

namespace {

// The hook of the current thread that takes the next window; hooks of outer scopes wait.
thread_local CWindowCreationHook* innermost = nullptr;

// Input method windows appear on their own when a thread makes its first window; they are
// never the window being asked for.
bool IsInputMethodWindow(HWND hwnd) noexcept {
    wchar_t name[32] = {};
    ::GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return _wcsicmp(name, L"IME") == 0 || _wcsicmp(name, L"MSCTFIME UI") == 0;
}

} // namespace

CWindowCreationHook::CWindowCreationHook(CWnd* object) noexcept : object_(object), outer_(innermost) {
    hook_ = ::SetWindowsHookExW(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId());
    innermost = this;
}

CWindowCreationHook::~CWindowCreationHook() {
    Unhook();
    innermost = outer_;
}

void CWindowCreationHook::Unhook() noexcept {
    if (hook_)
        ::UnhookWindowsHookEx(std::exchange(hook_, nullptr));
}

LRESULT CALLBACK CWindowCreationHook::HookProc(int code, WPARAM wparam, LPARAM lparam) {
    // Every scope's hook lands here; only the innermost scope takes a window, once.
    CWindowCreationHook* scope = innermost;
    HHOOK hook = scope ? scope->hook_ : nullptr;
    if (code == HCBT_CREATEWND && scope && scope->object_) {
        auto window = reinterpret_cast<HWND>(wparam);
        if (!IsInputMethodWindow(window)) {
            std::exchange(scope->object_, nullptr)->SubclassWindow(window);
            LRESULT result = ::CallNextHookEx(hook, code, wparam, lparam);
            scope->Unhook();
            return result;
        }
    }
    return ::CallNextHookEx(hook, code, wparam, lparam);
}
