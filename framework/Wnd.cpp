#include "framework/Wnd.h"

#include "framework/ExceptionGuard.h"
#include "framework/Handles.h"
#include "framework/WindowCreationHook.h"

#include <commctrl.h>

#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kPlainClassName[] = L"NVXWnd";
// One entry of ours per window: an object attaches to a window at most once.
constexpr UINT_PTR kSubclassId = 1;

// Which object each window belongs to. Kept in the process rather than as a window property:
// every message looks its object up, and a property is a round trip to the window server
// under Wine, several per paint of a control.
class CObjectMap {
public:
    CWnd* Find(HWND hwnd) noexcept {
        std::lock_guard hold(lock_);
        auto found = objects_.find(hwnd);
        return found == objects_.end() ? nullptr : found->second;
    }
    bool Add(HWND hwnd, CWnd* object) noexcept {
        std::lock_guard hold(lock_);
        try {
            return objects_.emplace(hwnd, object).second;
        } catch (const std::bad_alloc&) {
            return false; // the window then runs on its default procedure
        }
    }
    void Remove(HWND hwnd, CWnd* object) noexcept {
        std::lock_guard hold(lock_);
        auto found = objects_.find(hwnd);
        if (found != objects_.end() && found->second == object)
            objects_.erase(found);
    }

private:
    CCriticalSection lock_;
    std::unordered_map<HWND, CWnd*> objects_;
};

CObjectMap& Objects() {
    // Never destroyed: objects with static storage may let go of their windows after every
    // other static is gone.
    static CObjectMap* const objects = new CObjectMap;
    return *objects;
}

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

LRESULT CALLBACK SubclassEntry(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
    if (CWnd::FromHandle(hwnd))
        return SharedWindowProc(hwnd, msg, wparam, lparam);
    // An entry left behind by an object that let go (see Detach): it only passes messages on.
    if (msg == WM_NCDESTROY)
        ::RemoveWindowSubclass(hwnd, SubclassEntry, id);
    return ::DefSubclassProc(hwnd, msg, wparam, lparam);
}

bool IsOwnClass(HWND hwnd) noexcept {
    return reinterpret_cast<WNDPROC>(::GetClassLongPtrW(hwnd, GCLP_WNDPROC)) == SharedWindowProc;
}

HWND ControlOfNotification(HWND parent, UINT msg, LPARAM lparam) {
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
        return nullptr;
    }
}

bool ChangeLong(HWND hwnd, int index, LONG_PTR remove, LONG_PTR add) noexcept {
    LONG_PTR old_value = ::GetWindowLongPtrW(hwnd, index);
    LONG_PTR new_value = (old_value & ~remove) | add;
    if (new_value == old_value)
        return false;
    ::SetWindowLongPtrW(hwnd, index, new_value);
    return true;
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
    return hwnd ? Objects().Find(hwnd) : nullptr;
}

void CWnd::Attach(HWND hwnd) noexcept {
    hwnd_ = hwnd;
    Objects().Add(hwnd, this);
}

void CWnd::Detach() noexcept {
    if (!hwnd_)
        return;
    if (::IsWindow(hwnd_)) {
        // Our entry leaves the chain wherever it is, and whoever subclassed through the chain
        // after us keeps their place. Someone who replaced the window procedure after us would
        // not: comctl32 may put the original procedure back when its last entry goes (Wine's
        // does), so then our entry stays, passing messages on, until the window ends.
        if (subclassed_ && ::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == chain_procedure_)
            ::RemoveWindowSubclass(hwnd_, SubclassEntry, kSubclassId);
    }
    Objects().Remove(hwnd_, this);
    subclassed_ = false;
    hwnd_ = nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd) noexcept {
    if (!hwnd || hwnd_ || FromHandle(hwnd) || !::IsWindow(hwnd))
        return false;
    Attach(hwnd);
    nvx::GuardedCall("CWnd::PreSubclassWindow", [this] { PreSubclassWindow(); });
    if (IsOwnClass(hwnd))
        return true; // the class procedure already routes to the object
    if (!::SetWindowSubclass(hwnd, SubclassEntry, kSubclassId, 0)) {
        Detach();
        return false;
    }
    subclassed_ = true;
    chain_procedure_ = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
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
    HWND hwnd = nullptr;
    {
        CWindowCreationHook hook(this);
        hwnd = ::CreateWindowExW(
            ex_style, kPlainClassName, L"", style, rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), ::GetModuleHandleW(nullptr), this);
    }
    if (!hwnd)
        Detach(); // creation refused after the hook attached the object
    return hwnd != nullptr;
}

bool CWnd::DestroyWindow() noexcept {
    return hwnd_ && ::DestroyWindow(hwnd_);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
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

bool CWnd::ModifyStyle(LONG_PTR remove, LONG_PTR add) const noexcept {
    return ChangeLong(hwnd_, GWL_STYLE, remove, add);
}

bool CWnd::ModifyStyleEx(LONG_PTR remove, LONG_PTR add) const noexcept {
    return ChangeLong(hwnd_, GWL_EXSTYLE, remove, add);
}

LRESULT CWnd::Default(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (subclassed_)
        return ::DefSubclassProc(hwnd_, msg, wparam, lparam);
    return ::DefWindowProcW(hwnd_, msg, wparam, lparam);
}

LRESULT CWnd::Default() {
    return Default(current_.msg, current_.wparam, current_.lparam);
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    HWND control = ControlOfNotification(hwnd_, msg, lparam);
    if (!control || control == hwnd_)
        return false;
    CWnd* child = FromHandle(control);
    return child && child->OnChildNotify(msg, wparam, lparam, result);
}

bool CWnd::OnChildNotify(UINT msg, WPARAM, LPARAM lparam, LRESULT* result) {
    bool handled = false;
    if (msg == WM_DRAWITEM)
        handled = DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lparam));
    else if (msg == WM_MEASUREITEM)
        handled = MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lparam));
    if (handled)
        *result = TRUE;
    return handled;
}

bool CWnd::DrawItem(DRAWITEMSTRUCT*) {
    return false;
}

bool CWnd::MeasureItem(MEASUREITEMSTRUCT*) {
    return false;
}

bool CWnd::OnCommand(WPARAM, LPARAM) {
    return false;
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

void CWnd::OnSize(UINT, int, int) {
    Default();
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
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wparam));
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wparam), static_cast<short>(LOWORD(lparam)),
               static_cast<short>(HIWORD(lparam)));
        return 0;
    default:
        break;
    }
    return Default(msg, wparam, lparam);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
    CurrentMessage outer = std::exchange(current_, CurrentMessage{msg, wparam, lparam});
    LRESULT result =
        nvx::GuardedCall({"CWnd::WindowProc", msg}, [&] { return WindowProc(msg, wparam, lparam); });
    current_ = outer;
    if (msg == WM_NCDESTROY) {
        Detach();
        // The object may delete itself here; nothing of it is touched afterwards.
        nvx::GuardedCall("CWnd::PostNcDestroy", [this] { PostNcDestroy(); });
    }
    return result;
}

LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    CWnd* object = CWnd::FromHandle(hwnd);
    if (!object && msg == WM_NCCREATE) {
        // No creation hook saw the window (hooks refused): the object comes with the creation.
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        object = static_cast<CWnd*>(create->lpCreateParams);
        if (object && object->hwnd_)
            object = nullptr;
        if (object)
            object->Attach(hwnd);
    }
    if (object)
        return object->Dispatch(msg, wparam, lparam);
    return ::DefWindowProcW(hwnd, msg, wparam, lparam);
}
