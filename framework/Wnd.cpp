#include "framework/Wnd.h"

#include "framework/WindowCreationHook.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr wchar_t kObjectProperty[] = L"NVXWndObject";
constexpr wchar_t kPlainClassName[] = L"NVXWnd";

ATOM RegisterPlainClass() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = SharedWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kPlainClassName;
        return ::RegisterClassW(&wc);
    }();
    return atom;
}

HWND ControlOfNotification(HWND parent, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lparam);
    case WM_NOTIFY:
        return lparam ? reinterpret_cast<const NMHDR*>(lparam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lparam);
        return item && item->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(item->CtlID))
                                                 : nullptr;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lparam);
    default:
        (void)wparam;
        return nullptr;
    }
}

} // namespace

CWnd::~CWnd() {
    // A C++ object going away before its window must not leave the window pointing at it.
    if (hwnd_) {
        HWND hwnd = hwnd_;
        Detach();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void CWnd::Attach(HWND hwnd) noexcept {
    hwnd_ = hwnd;
    ::SetPropW(hwnd, kObjectProperty, this);
}

void CWnd::Detach() noexcept {
    if (!hwnd_)
        return;
    if (original_proc_)
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_proc_));
    ::RemovePropW(hwnd_, kObjectProperty);
    original_proc_ = nullptr;
    hwnd_ = nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd) noexcept {
    if (!hwnd || hwnd_ || FromHandle(hwnd))
        return false;
    Attach(hwnd);
    original_proc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SharedWindowProc)));
    if (original_proc_ == SharedWindowProc)
        original_proc_ = nullptr; // a window of this layer's own class
    return true;
}

bool CWnd::SubclassDlgItem(int control_id, CWnd* parent) noexcept {
    return parent && SubclassWindow(::GetDlgItem(parent->GetSafeHwnd(), control_id));
}

HWND CWnd::UnsubclassWindow() noexcept {
    HWND hwnd = hwnd_;
    Detach();
    return hwnd;
}

bool CWnd::Create(DWORD style, const RECT& rect, CWnd* parent, int control_id, DWORD ex_style) noexcept {
    if (hwnd_ || !RegisterPlainClass())
        return false;
    HWND hwnd = ::CreateWindowExW(
        ex_style, kPlainClassName, L"", style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), ::GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

bool CWnd::DestroyWindow() noexcept {
    return hwnd_ && ::DestroyWindow(hwnd_);
}

std::wstring CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthW(hwnd_);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextW(hwnd_, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

RECT CWnd::GetClientRect() const noexcept {
    RECT rect{};
    ::GetClientRect(hwnd_, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const noexcept {
    RECT rect{};
    ::GetWindowRect(hwnd_, &rect);
    return rect;
}

LRESULT CWnd::Default(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (original_proc_)
        return ::CallWindowProcW(original_proc_, hwnd_, msg, wparam, lparam);
    return ::DefWindowProcW(hwnd_, msg, wparam, lparam);
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    HWND control = ControlOfNotification(hwnd_, msg, wparam, lparam);
    if (!control || control == hwnd_)
        return false;
    CWnd* child = FromHandle(control);
    return child && child->OnChildNotify(msg, wparam, lparam, result);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

bool CWnd::OnCommand(WPARAM, LPARAM) {
    return false;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        LRESULT result = 0;
        if (ReflectToChild(msg, wparam, lparam, &result))
            return result;
        if (msg == WM_COMMAND && OnCommand(wparam, lparam))
            return 0;
        break;
    }
    default:
        break;
    }
    return Default(msg, wparam, lparam);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    LRESULT result = 0;
    // No exception may unwind through the system's window procedure.
    try {
        result = WindowProc(msg, wparam, lparam);
    } catch (...) {
        result = 0;
    }
    if (msg == WM_NCDESTROY) {
        Detach();
        PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    CWnd* object = CWnd::FromHandle(hwnd);
    if (!object && msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        object = static_cast<CWnd*>(create->lpCreateParams);
        if (object)
            object->Attach(hwnd);
    }
    if (object)
        return object->Dispatch(msg, wparam, lparam);
    return ::DefWindowProcW(hwnd, msg, wparam, lparam);
}
