#include "skin/NVXComboBox.h"

#include "resources/artwork.h"
#include "skin/BlendPicture.h"
#include "skin/ComboGeometry.h"
#include "skin/ImageWrapper.h"
#include "skin/ScreenDpi.h"
#include "skin/OffscreenCanvas.h"
#include "skin/ThemeFonts.h"

#include <algorithm>
#include <string>

namespace {

std::wstring ItemText(HWND combo, int index) {
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

RECT ToRect(const PixelRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

CNVXComboBox::CNVXComboBox()
    : font(&theThemeFonts.font_body), list_(std::make_unique<CNVXComboBox_ListBox>()) {
    if (auto strip = LoadPngResource(static_cast<std::uint32_t>(PickDpiVariant(IDB_COMBO_CHEVRONS)))) {
        chevron_ = strip->bitmap.get();
        chevron_strip_width_ = strip->width;
        chevron_strip_height_ = strip->height;
    }
}

void CNVXComboBox::PreSubclassWindow() {
    AttachParts();
}

void CNVXComboBox::AttachParts() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetComboBoxInfo(GetSafeHwnd(), &info))
        return;
    if (info.hwndItem && info.hwndItem != GetSafeHwnd()) {
        edit_.combo = GetSafeHwnd();
        edit_.SubclassWindow(info.hwndItem);
        // The combo draws the selected text itself.
        ::ShowWindow(info.hwndItem, SW_HIDE);
    }
    if (info.hwndList) {
        list_->combo = GetSafeHwnd();
        list_->SubclassWindow(info.hwndList);
        SendMessage(CB_SETITEMHEIGHT, 0,
                    ComboListItemHeight(ScreenDpiScale().dpi_y, ::GetSystemMetrics(SM_CYBORDER)));
    }
}

bool CNVXComboBox::EditPartIsReadOnly() const noexcept {
    return edit_.GetSafeHwnd() && (edit_.GetStyle() & ES_READONLY) != 0;
}

bool CNVXComboBox::CursorIsOverCombo() const noexcept {
    POINT cursor{};
    const RECT window = GetWindowRect();
    return ::GetCursorPos(&cursor) && ::PtInRect(&window, cursor);
}

void CNVXComboBox::RedrawNow(const RECT* part) {
    ::RedrawWindow(GetSafeHwnd(), part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CNVXComboBox::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetSafeHwnd(), 0};
            tracking_ = ::TrackMouseEvent(&track) != FALSE;
        }
        // Also when still tracking: while the open list held the mouse, the leave may never
        // have come, and closing the list cleared the hot look.
        if (!hot_) {
            hot_ = true;
            RedrawNow();
        }
        return Default(msg, wparam, lparam);
    case WM_MOUSELEAVE:
        tracking_ = false;
        // While the list is open the box stays hot; closing the list clears it.
        if (!list_->GetSafeHwnd() || !::IsWindowVisible(list_->GetSafeHwnd())) {
            if (!CursorIsOverCombo())
                hot_ = false;
            RedrawNow();
        }
        return 0;
    case WM_COMBO_EDIT_MOUSE_ENTER:
        if (!hot_) {
            hot_ = true;
            RedrawNow();
        }
        return 0;
    case WM_COMBO_EDIT_MOUSE_LEAVE:
        if (hot_ && !CursorIsOverCombo()) {
            hot_ = false;
            RedrawNow();
        }
        return 0;
    case WM_COMBO_LIST_HIDDEN:
        hot_ = false;
        RedrawNow();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // a quick second click toggles too, never through the system's handling
        OnLButtonDown({static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
        return 0;
    case WM_CTLCOLORLISTBOX:
        KeepListOnMonitor();
        return Default(msg, wparam, lparam);
    default:
        return CWnd::WindowProc(msg, wparam, lparam);
    }
}

bool CNVXComboBox::OnChildNotify(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    if (msg == WM_COMMAND) {
        switch (HIWORD(wparam)) {
        case CBN_SETFOCUS:
        case CBN_KILLFOCUS:
            Invalidate();
            *result = 0;
            return true; // the parent does not hear of them
        case CBN_DROPDOWN:
            SetDroppedWidth();
            return false; // the parent is told as well
        default:
            break;
        }
    }
    return CWnd::OnChildNotify(msg, wparam, lparam, result);
}

bool CNVXComboBox::DrawItem(DRAWITEMSTRUCT* item) {
    return list_->GetSafeHwnd() && list_->DrawItem(item);
}

void CNVXComboBox::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (!edit_.GetSafeHwnd() || !chevron_)
        return;
    chevron_frame_width_ = chevron_strip_width_ / kChevronFrames;
    chevron_frame_height_ = chevron_strip_height_;
    const int margin = ScaleExactX(4);
    arrow_rect_ = ToRect(ComboArrowRect(cx, cy, chevron_frame_width_, margin));
    ::SetWindowPos(edit_.GetSafeHwnd(), nullptr, margin, 1,
                   std::max(0, static_cast<int>(arrow_rect_.left) - margin), std::max(0, cy - 2),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND list = list_->GetSafeHwnd()) {
        list_->list_height = ComboListHeight(ScreenDpiScale().dpi_y);
        const auto width = static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH));
        ::SetWindowPos(list, nullptr, 0, 0, width, list_->list_height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CNVXComboBox::OnPaint() {
    nvx::PaintDc dc(GetSafeHwnd());
    if (!dc)
        return;
    const RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    // Drawn off screen and copied in one step.
    HDC canvas = canvas_.Surface(dc.get(), width, height);
    if (!canvas)
        return;
    Paint(canvas, client);
    canvas_.CopyTo(dc.get(), 0, 0);
}

void CNVXComboBox::Paint(HDC dc, const RECT& client) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    FillSolid(dc, client, background_color);

    const int selected = static_cast<int>(SendMessage(CB_GETCURSEL));
    const bool draws_text = EditPartIsReadOnly() && selected != CB_ERR;
    std::wstring text;
    SIZE text_size{};
    HFONT text_font = font ? font->get() : nullptr;
    nvx::SelectObjectScope select_font(dc, text_font ? text_font : ::GetCurrentObject(dc, OBJ_FONT));
    if (draws_text) {
        text = ItemText(GetSafeHwnd(), selected);
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &text_size);
    }

    const ComboMetrics metrics{ScaleX(24), ScaleX(5), ScaleExactX(4), ScaleExactX(1)};
    const ClosedComboLayout layout =
        LayoutClosedCombo(width, height, chevron_ ? chevron_frame_width_ : 0,
                          chevron_ ? chevron_frame_height_ : 0, text_size.cy, metrics);
    FillSolid(dc, ToRect(layout.arrow_area), arrow_background_color);
    if (chevron_) {
        // Frame 1 (light) while hot, frame 2 (mid grey) otherwise.
        const int frame = hot_ ? 1 : 2;
        const RECT source{frame * chevron_frame_width_, 0, (frame + 1) * chevron_frame_width_,
                          chevron_frame_height_};
        BlendPicture(dc, ToRect(layout.chevron), chevron_, source);
    }
    if (draws_text) {
        RECT text_rect = ToRect(layout.text);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, text_color);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    skin::Brush outline =
        skin::Adopt<skin::Brush>(::CreateSolidBrush(hot_ ? hot_border_color : border_color));
    ::FrameRect(dc, &client, outline.get());
}

void CNVXComboBox::OnLButtonDown(POINT point) {
    ::SetFocus(GetSafeHwnd());
    if (edit_.GetSafeHwnd()) {
        const RECT client = GetClientRect();
        const bool toggles =
            EditPartIsReadOnly() || IsInComboArrowHitArea(point.x, point.y, client.right, client.bottom,
                                                          chevron_frame_width_, ScaleExactX(4));
        if (toggles) {
            const bool dropped = SendMessage(CB_GETDROPPEDSTATE) != FALSE;
            SendMessage(CB_SHOWDROPDOWN, dropped ? FALSE : TRUE);
            edit_.SendMessage(EM_SETSEL, 0, 0);
            edit_.SendMessage(EM_SCROLLCARET);
        }
    }
    // The system's own drop-down handling never runs: the press is not passed on.
    RedrawNow(&arrow_rect_);
}

void CNVXComboBox::SetDroppedWidth() {
    nvx::ClientDc dc(GetSafeHwnd());
    if (!dc)
        return;
    HFONT text_font = font ? font->get() : nullptr;
    nvx::SelectObjectScope select_font(dc.get(),
                                       text_font ? text_font : ::GetCurrentObject(dc.get(), OBJ_FONT));
    const int count = static_cast<int>(SendMessage(CB_GETCOUNT));
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring text = ItemText(GetSafeHwnd(), i);
        SIZE size{};
        if (::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    const RECT window = GetWindowRect();
    const int width = ComboDroppedWidth(widest, count, ::GetSystemMetrics(SM_CXVSCROLL),
                                        ScaleExactX(::GetSystemMetrics(SM_CXEDGE)),
                                        ScaleExactX(metrics.tmAveCharWidth), window.right - window.left);
    SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width));
}

void CNVXComboBox::KeepListOnMonitor() {
    HWND list = list_->GetSafeHwnd();
    if (!list)
        return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(GetSafeHwnd(), MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT combo = GetWindowRect();
    RECT list_rect{};
    ::GetWindowRect(list, &list_rect);
    const int left = ::KeepListOnMonitor(combo.left, list_rect.left, list_rect.right - list_rect.left,
                                         monitor.rcMonitor.right);
    if (left != list_rect.left)
        ::SetWindowPos(list, nullptr, left, list_rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
