#include "skin/NVXButton.h"

#include "skin/BlendPicture.h"
#include "skin/OffscreenCanvas.h"
#include "skin/ThemeFonts.h"
#include "skin/ThemePalette.h"

void CNVXButton::SetAppearance(COLORREF normal, COLORREF hover, COLORREF pressed, COLORREF border,
                               const std::wstring& text) {
    normal_color = normal;
    hover_color = hover;
    pressed_color = pressed;
    border_color = border;
    text_ = text;
    image_ = nullptr;
    frame_count_ = 0;
    image_width_ = image_height_ = 0;
}

void CNVXButton::SetImage(const std::shared_ptr<CImageWrapper>& picture) {
    // A picture that could not be decoded shows nothing, like no picture.
    if (!picture || !picture->bitmap) {
        image_ = nullptr;
        frame_count_ = 0;
        image_width_ = image_height_ = 0;
        return;
    }
    image_ = picture->bitmap.get();
    image_width_ = picture->width;
    image_height_ = picture->height;
    frame_count_ = 1;
    horizontal_ = 1;
}

void CNVXButton::PreSubclassWindow() {
    // Owner-drawn whatever kind of button the template made.
    if (ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW))
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL CNVXButton::PreTranslateMessage(MSG* msg) {
    TurnDoubleClickIntoPress(msg);
    if (msg->message == WM_LBUTTONDOWN)
        ::SetFocus(GetSafeHwnd());
    return CWnd::PreTranslateMessage(msg);
}

bool CNVXButton::DrawItem(DRAWITEMSTRUCT* item) {
    const RECT& bounds = item->rcItem;
    const RECT area{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    HDC dc = canvas_.Surface(item->hDC, area.right, area.bottom);
    if (!dc)
        return true;
    ::SetStretchBltMode(dc, COLORONCOLOR);
    FillSolid(dc, area, normal_color);
    if (state.hover || state.pressed) {
        skin::Pen pen = skin::Adopt<skin::Pen>(::CreatePen(PS_SOLID, 1, border_color));
        skin::Brush brush =
            skin::Adopt<skin::Brush>(::CreateSolidBrush(state.pressed ? pressed_color : hover_color));
        nvx::SelectObjectScope select_pen(dc, pen.get());
        nvx::SelectObjectScope select_brush(dc, brush.get());
        ::Rectangle(dc, area.left, area.top, area.right, area.bottom);
    }
    if (frame_count_ > 0) {
        const int frame_width = horizontal_ ? image_width_ / frame_count_ : image_width_;
        const int frame_height = horizontal_ ? image_height_ : image_height_ / frame_count_;
        const int x = (area.right - frame_width) / 2;
        const int y = (area.bottom - frame_height) / 2;
        BlendPicture(dc, {x, y, x + frame_width, y + frame_height}, image_, {0, 0, frame_width, frame_height},
                     blend_.SourceConstantAlpha);
    }
    if (!text_.empty()) {
        nvx::SelectObjectScope font(dc, theThemeFonts.font_button.get());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, theThemePalette.title_text);
        RECT text_area = area;
        ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text_area,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_WORD_ELLIPSIS);
    }
    canvas_.CopyTo(item->hDC, bounds.left, bounds.top);
    return true;
}

LRESULT CNVXButton::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!state.tracking) {
            TRACKMOUSEEVENT request{sizeof(request), TME_HOVER | TME_LEAVE, GetSafeHwnd(), 1};
            state.tracking = ::TrackMouseEvent(&request) ? 1 : 0;
        }
        break;
    case WM_MOUSEHOVER:
        state.tracking = state.hover = 1;
        Invalidate(FALSE);
        return 0;
    case WM_MOUSELEAVE:
        state.tracking = state.hover = 0;
        Invalidate(FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (state.OnMouseButton(GetSafeHwnd(), msg, lparam))
            Invalidate(FALSE);
        break;
    case WM_ERASEBKGND:
        return TRUE;
    default:
        break;
    }
    return CWnd::WindowProc(msg, wparam, lparam);
}
