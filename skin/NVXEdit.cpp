#include "skin/NVXEdit.h"

#include "skin/ComboGeometry.h"
#include "skin/OffscreenCanvas.h"

CNVXEdit::CNVXEdit() : background_brush_(skin::Adopt<skin::Brush>(::CreateSolidBrush(background_color))) {}

void CNVXEdit::RecreateBackgroundBrush() {
    background_brush_ = skin::Adopt<skin::Brush>(::CreateSolidBrush(background_color));
}

bool CNVXEdit::IsWritable() const noexcept {
    return ::IsWindowEnabled(GetSafeHwnd()) && !(GetStyle() & ES_READONLY);
}

void CNVXEdit::PreSubclassWindow() {
    ModifyStyle(WS_BORDER, 0);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
}

bool CNVXEdit::SubclassWindow(HWND hwnd) noexcept {
    if (!CWnd::SubclassWindow(hwnd))
        return false;
    // Only now does WM_NCCALCSIZE reach this object: the frame is recomputed here, not in
    // PreSubclassWindow.
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool CNVXEdit::SubclassDlgItem(int control_id, CWnd* parent) noexcept {
    return parent && SubclassWindow(::GetDlgItem(parent->GetSafeHwnd(), control_id));
}

void CNVXEdit::SelectAll() {
    SendMessage(EM_SETSEL, 0, -1);
    SendMessage(EM_SCROLLCARET);
}

void CNVXEdit::SetActive() {
    active_ = true;
    // The frame shows the active colour: it lies outside the client area.
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

BOOL CNVXEdit::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd != GetSafeHwnd() || (msg->message != WM_RBUTTONDOWN && msg->message != WM_RBUTTONDBLCLK))
        return CWnd::PreTranslateMessage(msg);
    ::SetFocus(GetSafeHwnd());
    if (!active_ && IsWritable())
        SelectAll();
    else
        SendMessage(EM_SETSEL, 0xFFFF, 0xFFFF); // caret at the end
    SetActive();
    return TRUE; // swallowed: no context menu
}

LRESULT CNVXEdit::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_NCCALCSIZE: {
        const LRESULT result = Default(msg, wparam, lparam);
        OnNcCalcSize(reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam));
        return result;
    }
    case WM_NCPAINT: {
        const LRESULT result = Default(msg, wparam, lparam);
        PaintFrame();
        return result;
    }
    case WM_ENABLE:
        ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        return Default(msg, wparam, lparam);
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return TRUE;
    case WM_LBUTTONDOWN:
        OnLButtonDown(msg, wparam, lparam);
        return 0;
    case WM_LBUTTONUP:
        if (::GetCapture() == GetSafeHwnd())
            ::ReleaseCapture();
        return Default(msg, wparam, lparam);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        // A press that did not pass the message loop (or Shift+F10, the menu key) opens no menu
        // either.
        return 0;
    case WM_KEYDOWN:
        if (OnControlKey(wparam))
            return 0;
        return Default(msg, wparam, lparam);
    case WM_CHAR: {
        // Ctrl+A, C, V and X were done with the key press; the edit's own handling of their
        // characters would do them again (or paste when pasting is not allowed).
        if ((wparam == 0x01 || wparam == 0x03 || wparam == 0x16 || wparam == 0x18) &&
            ::GetKeyState(VK_CONTROL) < 0)
            return 0;
        const LRESULT result = Default(msg, wparam, lparam);
        if (input_mode == 2 && wparam == VK_RETURN) {
            SendMessage(EM_SETSEL, 0xFFFF, 0xFFFF);
            SendMessage(EM_SCROLLCARET);
        }
        return result;
    }
    case WM_KILLFOCUS:
        active_ = false;
        ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        return Default(msg, wparam, lparam);
    default:
        return CWnd::WindowProc(msg, wparam, lparam);
    }
}

void CNVXEdit::OnNcCalcSize(NCCALCSIZE_PARAMS* sizes) {
    if (!sizes)
        return;
    RECT& client = sizes->rgrc[0];
    TEXTMETRICW metrics{};
    {
        nvx::ClientDc dc(GetSafeHwnd());
        if (!dc)
            return;
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        nvx::SelectObjectScope select(dc.get(), font ? font : ::GetStockObject(SYSTEM_FONT));
        ::GetTextMetricsW(dc.get(), &metrics);
    }
    // One pixel of frame at the sides; the single line of text vertically centred.
    const int inset = EditTextInset(client.bottom - client.top, metrics.tmExternalLeading, metrics.tmHeight);
    client.left += 1;
    client.right -= 1;
    client.top += inset;
    client.bottom -= inset;
    if (client.right < client.left)
        client.right = client.left;
    if (client.bottom < client.top)
        client.bottom = client.top;
}

void CNVXEdit::PaintFrame() {
    WINDOWINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetWindowInfo(GetSafeHwnd(), &info))
        return;
    const int width = info.rcWindow.right - info.rcWindow.left;
    const int height = info.rcWindow.bottom - info.rcWindow.top;
    const int client_top = info.rcClient.top - info.rcWindow.top;
    const int client_bottom = info.rcClient.bottom - info.rcWindow.top;
    nvx::WindowDc dc(GetSafeHwnd());
    if (!dc)
        return;
    FillSolid(dc.get(), {1, 0, width - 1, client_top}, background_color);
    FillSolid(dc.get(), {1, client_bottom, width - 1, height}, background_color);
    skin::Brush frame = skin::Adopt<skin::Brush>(
        ::CreateSolidBrush(active_ && IsWritable() ? focus_border_color : border_color));
    const RECT whole{0, 0, width, height};
    ::FrameRect(dc.get(), &whole, frame.get());
}

void CNVXEdit::OnLButtonDown(UINT msg, WPARAM wparam, LPARAM lparam) {
    ::SetCapture(GetSafeHwnd());
    if (active_ || !IsWritable()) {
        Default(msg, wparam, lparam); // the caret goes where the click was
    } else {
        ::SetFocus(GetSafeHwnd());
        SelectAll();
    }
    SetActive();
}

bool CNVXEdit::OnControlKey(WPARAM key) {
    if (::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_SHIFT) < 0)
        return false;
    switch (key) {
    case 'A':
        SelectAll();
        return true;
    case 'C':
        SendMessage(WM_COPY);
        return true;
    case 'X':
        SendMessage(WM_CUT);
        return true;
    case 'V':
        if (paste_allowed)
            SendMessage(WM_PASTE);
        return true;
    default:
        return false;
    }
}

bool CNVXEdit::OnChildNotify(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    // A read-only or disabled edit asks with WM_CTLCOLORSTATIC.
    if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC)
        return CWnd::OnChildNotify(msg, wparam, lparam, result);
    HDC dc = reinterpret_cast<HDC>(wparam);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetBkColor(dc, background_color);
    ::SetTextColor(dc, IsWritable() ? text_color : ::GetSysColor(COLOR_GRAYTEXT));
    *result =
        reinterpret_cast<LRESULT>(background_brush_ ? background_brush_.get() : ::GetStockObject(NULL_BRUSH));
    return true;
}
