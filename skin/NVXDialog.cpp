#include "skin/NVXDialog.h"

#include "resources/artwork.h"
#include "resources/resource.h"
#include "skin/BlendPicture.h"
#include "skin/OffscreenCanvas.h"
#include "skin/ScreenDpi.h"
#include "skin/SkinFont.h"
#include "skin/ThemePalette.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

namespace {

RECT ToRect(const PixelRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

PixelRect ToPixelRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

struct CaptionButtonSpec {
    int glyph_base;
    COLORREF ThemePalette::*hover;
    COLORREF ThemePalette::*pressed;
    int visible;
    int disabled;
};

// By CaptionButtonId. Maximize starts disabled: the installer's windows are never maximized.
const CaptionButtonSpec kCaptionButtons[kCaptionButtonCount] = {
    {IDB_CLOSE_GLYPH, &ThemePalette::close_hover, &ThemePalette::close_pressed, 1, 0},
    {IDB_MAXIMIZE_GLYPH, &ThemePalette::caption_button_hover, &ThemePalette::caption_button_pressed, 1, 1},
    {IDB_RESTORE_GLYPH, &ThemePalette::caption_button_hover, &ThemePalette::caption_button_pressed, 0, 0},
    {IDB_MINIMIZE_GLYPH, &ThemePalette::caption_button_hover, &ThemePalette::caption_button_pressed, 1, 0},
};

} // namespace

void CaptionButton::SetGlyph(const std::shared_ptr<CImageWrapper>& picture, const FrameMetrics& metrics) {
    glyph = picture ? picture->bitmap.get() : nullptr;
    glyph_width = glyph ? picture->width : 0;
    glyph_height = glyph ? picture->height : 0;
    frame_count = glyph ? picture->frame_count : 1;
    horizontal = glyph ? picture->horizontal : 1;
    PlaceGlyph(*this, glyph ? FrameWidth() : 0, glyph ? FrameHeight() : 0, metrics);
}

CNVXDialog::CNVXDialog(UINT template_id)
    : CDialogEx(template_id),
      caption_font_(skin::Adopt<skin::Font>(CreateSkinFont(L"Arial", ScaleY(15), FW_NORMAL, ANSI_CHARSET))),
      metrics_(FrameMetricsFor(ScreenDpiScale())) {}

BOOL CNVXDialog::OnInitDialog() {
    CDialogEx::OnInitDialog();
    return TRUE;
}

void CNVXDialog::CreateCaptionButtons(LONG_PTR style) {
    caption_buttons.assign(kCaptionButtonCount, CaptionButton{});
    for (int id = 0; id < kCaptionButtonCount; ++id) {
        const CaptionButtonSpec& spec = kCaptionButtons[id];
        CaptionButton& button = caption_buttons[id];
        button.owner = this;
        button.id = id;
        button.normal_color = theThemePalette.caption_background;
        button.hover_color = theThemePalette.*spec.hover;
        button.pressed_color = theThemePalette.*spec.pressed;
        button.visible = spec.visible;
        button.disabled = spec.disabled;
        button.SetGlyph(LoadPngResource(PickDpiVariant(spec.glyph_base)), metrics_);
    }
    // Only a window made maximized has room for Maximize and Restore in its caption.
    if (!(style & WS_MAXIMIZE)) {
        for (int id : {kCaptionMaximize, kCaptionRestore})
            caption_buttons[id].button_rect = caption_buttons[id].glyph_rect = {};
    }
}

void CNVXDialog::ShowMaximizeOrRestore(bool maximized) {
    if (caption_buttons.size() != kCaptionButtonCount)
        return;
    caption_buttons[kCaptionMaximize].visible = !maximized;
    caption_buttons[kCaptionRestore].visible = maximized;
}

void CNVXDialog::CalculateClient(RECT& proposed_window) {
    const bool maximized = IsWindowMaximized();
    proposed_window = ToRect(ClientFromWindow(ToPixelRect(proposed_window), maximized, metrics_));
    ShowMaximizeOrRestore(maximized);
    layout_pending_ = true;
}

void CNVXDialog::LayoutCaptionButtonsNow() {
    if (caption_buttons.size() != kCaptionButtonCount)
        return;
    const RECT window = GetWindowRect();
    PixelRect area{0, 0, window.right - window.left, window.bottom - window.top};
    if (IsWindowMaximized()) {
        // Only the part of the window on the monitor's work area has room for buttons.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (::GetMonitorInfoW(::MonitorFromWindow(GetSafeHwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) {
            RECT visible{};
            if (::IntersectRect(&visible, &window, &monitor.rcWork))
                area = {visible.left - window.left, visible.top - window.top, visible.right - window.left,
                        visible.bottom - window.top};
        }
    }
    LayoutCaptionButtons(caption_buttons.data(), area, metrics_);
}

void CNVXDialog::RepaintFrame() {
    HWND hwnd = GetSafeHwnd();
    if (!hwnd || !::IsWindow(hwnd))
        return;
    nvx::WindowDc dc(hwnd);
    if (!dc)
        return;
    const RECT window = GetWindowRect();
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;

    // The client area is the dialog's own to paint.
    RECT client = GetClientRect();
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    ::OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    ::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);

    if (layout_pending_) {
        LayoutCaptionButtonsNow();
        layout_pending_ = false;
    }
    // Only the strip down to the client goes through the off-screen bitmap: below it the frame is
    // borders of one colour each, which cannot flicker, and a bitmap of the whole window would be
    // filled and copied for the few pixels the client leaves. What the frame draws beyond the
    // strip's bitmap is clipped by it.
    const int strip = std::clamp(std::max<int>(client.top, CaptionStrip(width, metrics_).bottom), 0, height);
    HDC canvas = frame_canvas_.Surface(dc.get(), width, strip);
    if (!canvas)
        return;
    PaintFrame(canvas, width, height);
    frame_canvas_.CopyTo(dc.get(), 0, 0);
    if (strip < height)
        PaintFrameBelow(dc.get(), width, height, strip);
}

void CNVXDialog::PaintFrameBelow(HDC dc, int width, int height, int strip) {
    const int side = metrics_.side_border;
    const int bottom = metrics_.bottom_border;
    FillSolid(dc, {side, strip, width - side, height - bottom}, theThemePalette.caption_background);
    for (const RECT& edge : {RECT{0, height - bottom, width, height}, RECT{0, strip, side, height},
                             RECT{width - side, strip, width, height}})
        FillSolid(dc, edge, theThemePalette.frame_border);
}

void CNVXDialog::PaintFrame(HDC dc, int width, int height) {
    const ThemePalette& palette = theThemePalette;
    FillSolid(dc, {0, 0, width, height}, palette.caption_background);
    const int side = metrics_.side_border;
    const int top = metrics_.top_border;
    const int bottom = metrics_.bottom_border;
    for (const RECT& edge : {RECT{0, 0, width, top}, RECT{0, height - bottom, width, height},
                             RECT{0, 0, side, height}, RECT{width - side, 0, width, height}})
        FillSolid(dc, edge, palette.frame_border);

    PixelRect caption = CaptionStrip(width, metrics_);
    ShowMaximizeOrRestore(IsWindowMaximized());
    if (caption.IsEmpty())
        return;
    for (const CaptionButton& button : caption_buttons) {
        if (!button.visible || !button.glyph)
            continue;
        COLORREF fill = button.normal_color;
        if (!button.disabled && button.pressed)
            fill = button.pressed_color;
        else if (!button.disabled && button.hover)
            fill = button.hover_color;
        FillSolid(dc, ToRect(button.button_rect), fill);
        const BYTE alpha = button.disabled ? 50 : button.blend.SourceConstantAlpha;
        BlendPicture(dc, ToRect(button.glyph_rect), button.glyph,
                     {0, 0, button.FrameWidth(), button.FrameHeight()}, alpha);
    }
    if (show_caption_title)
        PaintCaptionTitle(dc, caption);
}

void CNVXDialog::PaintCaptionTitle(HDC dc, PixelRect caption) {
    auto icon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_BIG, 0));
    if (icon) {
        const int x = caption.left + 4 * ScaleX(1);
        const int y = caption.top + (metrics_.caption_height - metrics_.icon_size_y) / 2;
        ::DrawIconEx(dc, x, y, icon, metrics_.icon_size_x, metrics_.icon_size_y, 0, nullptr, DI_NORMAL);
        caption.left = x + metrics_.icon_size_x;
    }
    const std::wstring title = GetWindowText();
    if (title.empty())
        return;
    // The title ends before the first caption button, so that a long one is cut with an
    // ellipsis instead of running under the buttons.
    int right = caption.right;
    for (const CaptionButton& button : caption_buttons) {
        if (button.visible && button.glyph && !button.button_rect.IsEmpty() &&
            button.button_rect.left < right)
            right = button.button_rect.left;
    }
    nvx::SelectObjectScope font(dc, caption_font_.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &extent);
    RECT text_rect{caption.left + 5 * ScaleY(1), caption.top + (metrics_.caption_height - extent.cy) / 2,
                   right, 0};
    text_rect.bottom = text_rect.top + extent.cy;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, theThemePalette.caption_text);
    ::DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text_rect,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS);
}

void CNVXDialog::UpdateRegion() {
    const RECT window = GetWindowRect();
    RECT shape{0, 0, window.right - window.left, window.bottom - window.top};
    if (IsWindowMaximized()) {
        shape.left += kMaximizedOverhang;
        shape.right -= kMaximizedOverhang;
        shape.bottom -= kMaximizedOverhang;
    }
    // A window region also keeps the desktop compositor from drawing its own frame.
    nvx::UniqueRegion region(
        ::CreateRoundRectRgn(shape.left, shape.top, shape.right + 1, shape.bottom + 1, 0, 0));
    if (region && ::SetWindowRgn(GetSafeHwnd(), region.get(), TRUE))
        region.release(); // the system owns it now
}

void CNVXDialog::OnSize(UINT type, int cx, int cy) {
    CDialogEx::OnSize(type, cx, cy);
    UpdateRegion();
    OnClientResized(GetClientRect());
}

POINT CNVXDialog::ToWindowCoordinates(LPARAM screen_point) const {
    const RECT window = GetWindowRect();
    return {GET_X_LPARAM(screen_point) - window.left, GET_Y_LPARAM(screen_point) - window.top};
}

void CNVXDialog::RunAction(int button) {
    switch (button) {
    case kCaptionClose:
        SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case kCaptionMinimize:
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case kCaptionMaximize:
    case kCaptionRestore:
        if (IsWindowMaximized())
            SendMessage(WM_SYSCOMMAND, button == kCaptionMaximize ? SC_MAXIMIZE : SC_RESTORE, 0);
        break;
    default:
        break;
    }
}

LRESULT CNVXDialog::OnNonClientMouse(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (caption_buttons.size() != kCaptionButtonCount)
        return Default(msg, wparam, lparam);
    CaptionButton* buttons = caption_buttons.data();
    const int count = kCaptionButtonCount;
    const POINT point = ToWindowCoordinates(lparam);
    CaptionReaction reaction;
    switch (msg) {
    case WM_NCMOUSEMOVE:
        reaction = tracker_.OnMouseMove(buttons, count, point.x, point.y, [this] {
            TRACKMOUSEEVENT request{sizeof(request), TME_LEAVE | TME_NONCLIENT, GetSafeHwnd(), 1};
            return ::TrackMouseEvent(&request) != FALSE;
        });
        break;
    case WM_NCMOUSEHOVER:
        tracker_.OnMouseHover();
        return 0;
    case WM_NCMOUSELEAVE:
        reaction = tracker_.OnMouseLeave(buttons, count);
        break;
    case WM_NCLBUTTONDOWN:
        reaction = tracker_.OnButtonDown(buttons, count, point.x, point.y, static_cast<int>(wparam));
        break;
    case WM_NCLBUTTONUP:
        reaction = tracker_.OnButtonUp(buttons, count, point.x, point.y);
        break;
    case WM_NCLBUTTONDBLCLK:
        if ((GetStyle() & WS_MAXIMIZE) && CCaptionTracker::HitTest(buttons, count, point.x, point.y) < 0)
            SendMessage(WM_SYSCOMMAND, IsWindowMaximized() ? SC_RESTORE : SC_MAXIMIZE, 0);
        return 0;
    default:
        break;
    }
    if (reaction.action >= 0) {
        // The action may end the window (Close), and with it this object.
        HWND hwnd = GetSafeHwnd();
        RunAction(reaction.action);
        if (!::IsWindow(hwnd) || CWnd::FromHandle(hwnd) != this)
            return 0;
    }
    if (reaction.repaint)
        RepaintFrame();
    return reaction.default_processing ? Default(msg, wparam, lparam) : 0;
}

LRESULT CNVXDialog::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_NCCREATE: {
        LRESULT created = CDialogEx::WindowProc(msg, wparam, lparam);
        if (!created)
            return created;
        CreateCaptionButtons(reinterpret_cast<const CREATESTRUCTW*>(lparam)->style);
        return TRUE;
    }
    case WM_NCCALCSIZE:
        // Also when no valid rectangles are asked for (the first calculation while the window
        // is created): otherwise the client area would cover the frame until the next resize.
        CalculateClient(wparam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam)->rgrc[0]
                               : *reinterpret_cast<RECT*>(lparam));
        return 0;
    case WM_NCPAINT:
        RepaintFrame();
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_SETTEXT:
    case WM_SETICON: {
        // The system's handling paints its own caption at once; ours goes over it.
        LRESULT result = CDialogEx::WindowProc(msg, wparam, lparam);
        RepaintFrame();
        return result;
    }
    case WM_NCHITTEST: {
        LRESULT hit = CDialogEx::WindowProc(msg, wparam, lparam);
        // The system measures its caption by its own metrics; ours may be taller.
        if (hit == HTNOWHERE || hit == HTBORDER) {
            const POINT point = ToWindowCoordinates(lparam);
            const RECT window = GetWindowRect();
            if (CaptionStrip(window.right - window.left, metrics_).Contains(point.x, point.y))
                return HTCAPTION;
        }
        return hit;
    }
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSEHOVER:
    case WM_NCMOUSELEAVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
        return OnNonClientMouse(msg, wparam, lparam);
    case WM_ERASEBKGND:
        FillSolid(reinterpret_cast<HDC>(wparam), GetClientRect(), theThemePalette.window_background);
        return TRUE;
    case WM_NCDESTROY:
        tracker_.Reset();
        break;
    default:
        break;
    }
    return CDialogEx::WindowProc(msg, wparam, lparam);
}

void CNVXDialog::SetApplicationIcon() {
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void CNVXDialog::HideFromTaskbar() {
    ::SetWindowPos(GetSafeHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW);
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    ShowWindow(SW_HIDE);
}
