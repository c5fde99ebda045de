#pragma once
// The window layer: a C++ object attached to a window, one shared window procedure
// that dispatches to the object's virtual WindowProc, and notifications of child
// controls reflected to the control's own object.
#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() noexcept = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const noexcept { return hwnd_; }
    operator HWND() const noexcept { return hwnd_; }

    // The object attached to a window by this layer, or null.
    static CWnd* FromHandle(HWND hwnd) noexcept;

    // Takes over an existing window (a template control, say): its messages reach WindowProc first.
    bool SubclassWindow(HWND hwnd) noexcept;
    bool SubclassDlgItem(int control_id, CWnd* parent) noexcept;
    HWND UnsubclassWindow() noexcept;

    // Creates a plain child window of this layer's own class (no background brush, no cursor).
    bool Create(DWORD style, const RECT& rect, CWnd* parent, int control_id, DWORD ex_style = 0) noexcept;
    bool DestroyWindow() noexcept;

    // Thin conveniences over the window handle.
    std::wstring GetWindowText() const;
    void SetWindowText(const std::wstring& text) const noexcept { ::SetWindowTextW(hwnd_, text.c_str()); }
    HWND GetDlgItem(int control_id) const noexcept { return ::GetDlgItem(hwnd_, control_id); }
    CWnd* GetParent() const noexcept { return FromHandle(::GetParent(hwnd_)); }
    LRESULT SendMessage(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0) const noexcept {
        return ::SendMessageW(hwnd_, msg, wparam, lparam);
    }
    BOOL PostMessage(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0) const noexcept {
        return ::PostMessageW(hwnd_, msg, wparam, lparam);
    }
    BOOL ShowWindow(int command) const noexcept { return ::ShowWindow(hwnd_, command); }
    BOOL Invalidate(BOOL erase = TRUE) const noexcept { return ::InvalidateRect(hwnd_, nullptr, erase); }
    RECT GetClientRect() const noexcept;
    RECT GetWindowRect() const noexcept;

protected:
    // Per-class message handling: override, handle what the class needs, and pass the rest to
    // the base class. The base runs the window's original procedure.
    virtual LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT Default(UINT msg, WPARAM wparam, LPARAM lparam);

    // A notification this window sent to its parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_CTLCOLOR*), offered back to it first. Return true when handled.
    virtual bool OnChildNotify(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result);
    // WM_COMMAND that no control took; return true when handled.
    virtual bool OnCommand(WPARAM wparam, LPARAM lparam);
    // Last message the window receives; the object is detached after it.
    virtual void PostNcDestroy() {}

    void Attach(HWND hwnd) noexcept;
    void Detach() noexcept;

private:
    friend LRESULT CALLBACK SharedWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;
    bool ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result);
    LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
    WNDPROC original_proc_ = nullptr;
};

LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
