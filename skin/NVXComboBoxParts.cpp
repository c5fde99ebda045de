// The drop-down list and the edit part of CNVXComboBox.
#include "skin/ComboGeometry.h"
#include "skin/NVXComboBox.h"
#include "skin/ScreenDpi.h"
#include "skin/OffscreenCanvas.h"
#include "skin/ThemeFonts.h"

#include <string>

// ---- Edit part -------------------------------------------------------------------------------

LRESULT CNVXComboBox_Edit::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetSafeHwnd(), 0};
            tracking_ = ::TrackMouseEvent(&track) != FALSE;
            ::SendMessageW(combo, WM_COMBO_EDIT_MOUSE_ENTER, 0, 0);
        }
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        ::SendMessageW(combo, WM_COMBO_EDIT_MOUSE_LEAVE, 0, 0);
        return 0;
    default:
        break;
    }
    if (!IsReadOnly())
        return CWnd::WindowProc(msg, wparam, lparam);

    switch (msg) {
    case WM_SETFOCUS: {
        // The combo hands the focus to its edit part whenever it gets it: that is the only holder
        // this part accepts. Anyone else gets the focus back.
        HWND previous = reinterpret_cast<HWND>(wparam);
        if (previous && previous != combo && ::IsWindow(previous)) {
            ::SetFocus(previous);
            return 0;
        }
        break;
    }
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    case EM_SETSEL:
        return 0; // no selection in a box nobody types into
    case WM_LBUTTONDOWN: {
        POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        ::MapWindowPoints(GetSafeHwnd(), combo, &point, 1);
        ::SendMessageW(combo, WM_LBUTTONDOWN, wparam, MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(msg, wparam, lparam);
}

// ---- Drop-down list --------------------------------------------------------------------------

namespace {

std::wstring ListText(HWND list, UINT index) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

} // namespace

CNVXComboBox_ListBox::CNVXComboBox_ListBox() : font(&theThemeFonts.font_body) {}

void CNVXComboBox_ListBox::PreSubclassWindow() {
    // Whole rows of the height the combo gives them; the list's height is the combo's to choose.
    ModifyStyle(0, LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT);
}

LRESULT CNVXComboBox_ListBox::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_NCPAINT:
        PaintFrame(reinterpret_cast<HRGN>(wparam));
        return 0;
    case WM_ERASEBKGND: {
        // The rows below the last item.
        RECT client = GetClientRect();
        FillSolid(reinterpret_cast<HDC>(wparam), client, background_color);
        return TRUE;
    }
    case WM_SHOWWINDOW:
        if (!wparam && combo)
            ::SendMessageW(combo, WM_COMBO_LIST_HIDDEN, 0, 0);
        break;
    case WM_WINDOWPOSCHANGED:
        // The combo may hide its list with SetWindowPos, which sends no WM_SHOWWINDOW.
        if ((reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_HIDEWINDOW) && combo)
            ::SendMessageW(combo, WM_COMBO_LIST_HIDDEN, 0, 0);
        break;
    case WM_WINDOWPOSCHANGING: {
        // The system sizes the list again each time it drops it; the combo's height stands.
        auto* position = reinterpret_cast<WINDOWPOS*>(lparam);
        if (list_height > 0 && !(position->flags & SWP_NOSIZE))
            position->cy = list_height;
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(msg, wparam, lparam);
}

void CNVXComboBox_ListBox::PaintFrame(HRGN update_region) {
    WINDOWINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetWindowInfo(GetSafeHwnd(), &info))
        return;
    const RECT& window = info.rcWindow;
    RECT client = info.rcClient;
    ::OffsetRect(&client, -window.left, -window.top);
    RECT scroll_bar{};
    const bool has_scroll_bar = (info.dwStyle & WS_VSCROLL) != 0;
    if (has_scroll_bar)
        scroll_bar = {client.right, client.top, client.right + ::GetSystemMetrics(SM_CXVSCROLL),
                      client.bottom};
    {
        nvx::WindowDc dc(GetSafeHwnd());
        if (!dc)
            return;
        ::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
        if (has_scroll_bar)
            ::ExcludeClipRect(dc.get(), scroll_bar.left, scroll_bar.top, scroll_bar.right, scroll_bar.bottom);
        const RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
        FillSolid(dc.get(), whole, border_color);
    }
    if (has_scroll_bar) {
        // The scroll bar is the system's to draw: default painting, limited to it.
        skin::Region bar = skin::Adopt<skin::Region>(
            ::CreateRectRgn(window.left + scroll_bar.left, window.top + scroll_bar.top,
                            window.left + scroll_bar.right, window.top + scroll_bar.bottom));
        if (update_region && update_region != reinterpret_cast<HRGN>(1))
            ::CombineRgn(bar.get(), bar.get(), update_region, RGN_AND);
        Default(WM_NCPAINT, reinterpret_cast<WPARAM>(bar.get()), 0);
    }
}

bool CNVXComboBox_ListBox::DrawItem(DRAWITEMSTRUCT* item) {
    if (!item)
        return false;
    const RECT& target = item->rcItem;
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0)
        return true;
    HDC canvas = canvas_.Surface(item->hDC, width, height);
    if (!canvas)
        return true;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    FillSolid(canvas, {0, 0, width, height}, selected ? selected_background_color : background_color);
    if (item->itemID != static_cast<UINT>(-1)) {
        const std::wstring text = ListText(GetSafeHwnd(), item->itemID);
        HFONT text_font = font ? font->get() : nullptr;
        nvx::SelectObjectScope select_font(canvas,
                                           text_font ? text_font : ::GetCurrentObject(item->hDC, OBJ_FONT));
        ::SetBkMode(canvas, TRANSPARENT);
        ::SetTextColor(canvas, selected ? selected_text_color : text_color);
        const PixelRect area = ListItemTextRect(width, height, ScaleExactX(4));
        RECT text_rect{area.left, area.top, area.right, area.bottom};
        ::DrawTextW(canvas, text.c_str(), static_cast<int>(text.size()), &text_rect,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    canvas_.CopyTo(item->hDC, target.left, target.top);
    return true;
}
