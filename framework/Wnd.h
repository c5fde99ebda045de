#pragma once
// The window layer: a C++ object attached to a window (through a map kept in the process), one
// shared window procedure that dispatches to the object's virtual WindowProc, and
// notifications of child controls reflected to the control's own object. Windows of other
// classes are taken over through comctl32's subclass chain, so that whoever subclasses
// before or after us keeps working when we let go.
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

    // Creates a window of this layer's own class (no background brush, no cursor: the object
    // paints all of it and sets its cursor). A child when `parent` is given and `style` has
    // WS_CHILD; a host of dialog pages passes WS_EX_CONTROLPARENT so that Tab reaches them.
    bool Create(DWORD style, const RECT& rect, CWnd* parent, int control_id, DWORD ex_style = 0) noexcept;
    bool DestroyWindow() noexcept;

    // Offered each message the framework's modal loop takes from the queue, first by the window
    // it is for, then by its parents up to the top-level window. Return TRUE to swallow it.
    virtual BOOL PreTranslateMessage(MSG* msg);

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
    LONG_PTR GetStyle() const noexcept { return ::GetWindowLongPtrW(hwnd_, GWL_STYLE); }
    LONG_PTR GetExStyle() const noexcept { return ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE); }
    // Changes style bits; answers whether anything changed (the frame is not recomputed).
    bool ModifyStyle(LONG_PTR remove, LONG_PTR add) const noexcept;
    bool ModifyStyleEx(LONG_PTR remove, LONG_PTR add) const noexcept;

    // Timers of this window: WM_TIMER arrives at OnTimer with the id.
    UINT_PTR SetTimer(UINT_PTR timer_id, UINT elapse_ms) const noexcept {
        return ::SetTimer(hwnd_, timer_id, elapse_ms, nullptr);
    }
    BOOL KillTimer(UINT_PTR timer_id) const noexcept { return ::KillTimer(hwnd_, timer_id); }

protected:
    // Per-class message handling: override, handle what the class needs, and pass the rest to
    // the base class. The base turns a few messages into the handlers below and runs the
    // window's original procedure for everything else.
    virtual LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam);
    // The window's original procedure (next in the subclass chain, or the system's default).
    LRESULT Default(UINT msg, WPARAM wparam, LPARAM lparam);
    // The same for the message being handled now (for handlers without the raw parameters).
    LRESULT Default();

    // Called with the window attached, before its messages are routed here (for a created
    // window: before WM_NCCREATE). The place to adjust styles, e.g. to make a button owner-drawn.
    virtual void PreSubclassWindow() {}

    // A notification this window sent to its parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_CTLCOLOR*), offered back to it first. Return true when handled. The
    // base sends WM_DRAWITEM and WM_MEASUREITEM on to DrawItem and MeasureItem.
    virtual bool OnChildNotify(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result);
    // Owner-draw of this control; return true when drawn (measured).
    virtual bool DrawItem(DRAWITEMSTRUCT* item);
    virtual bool MeasureItem(MEASUREITEMSTRUCT* item);
    // WM_COMMAND that no control took; return true when handled.
    virtual bool OnCommand(WPARAM wparam, LPARAM lparam);
    // WM_TIMER; the base runs the original procedure (controls keep internal timers).
    virtual void OnTimer(UINT_PTR timer_id);
    // WM_SIZE with the new client size; the base runs the original procedure.
    virtual void OnSize(UINT type, int cx, int cy);
    // Last message the window receives; the object is detached after it.
    virtual void PostNcDestroy() {}

    void Attach(HWND hwnd) noexcept;
    void Detach() noexcept;

private:
    friend LRESULT CALLBACK SharedWindowProc(HWND, UINT, WPARAM, LPARAM);
    struct CurrentMessage {
        UINT msg;
        WPARAM wparam;
        LPARAM lparam;
    };
    bool ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result);
    LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;      // routed through the subclass chain (not our own class)
    LONG_PTR chain_procedure_ = 0; // the window procedure once our entry joined the chain
    CurrentMessage current_{};
};

// The one window procedure of the layer: the class procedure of its own windows, and the
// target of the subclass entry of taken-over ones.
LRESULT CALLBACK SharedWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
