#include "skin/NVXTextButton.h"

#include "framework/Diagnostics.h"
#include "skin/Direct2DEntry.h"
#include "skin/OffscreenCanvas.h"
#include "skin/ScreenDpi.h"
#include "skin/ThemePalette.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {

long live_render_resources = 0;

D2D1_COLOR_F ToColor(COLORREF color) {
    return {GetRValue(color) / 255.0f, GetGValue(color) / 255.0f, GetBValue(color) / 255.0f, 1.0f};
}

// The caption's size: DirectWrite's em size of 14 at 96 DPI, exactly scaled by the vertical DPI.
float CaptionFontSize() {
    return static_cast<float>(static_cast<int>(ScreenDpiScale().dpi_y * 14 / 96));
}

} // namespace

CNVXTextButton::CNVXTextButton()
    : surround_color(theThemePalette.window_background), fill_disabled(theThemePalette.action_disabled),
      fill_normal(theThemePalette.action_normal), fill_hover(theThemePalette.action_hover),
      fill_pressed(theThemePalette.action_pressed), text_disabled(theThemePalette.action_text_disabled),
      text_normal(theThemePalette.action_text), text_hover(theThemePalette.action_text),
      text_pressed(theThemePalette.action_text),
      corner_radius_x(static_cast<float>(theCornerRadii.text_button_x)),
      corner_radius_y(static_cast<float>(theCornerRadii.text_button_y)) {}

CNVXTextButton::~CNVXTextButton() {
    ReleaseRenderResources();
}

long CNVXTextButton::LiveRenderResources() noexcept {
    return live_render_resources;
}

void CNVXTextButton::SetEnabled(bool enabled) {
    // A press in progress ends without a click; the mouse must not stay captured by a button
    // that no longer takes releases.
    const bool had_capture = state.captured && ::GetCapture() == GetSafeHwnd();
    state.Reset();
    if (had_capture)
        ::ReleaseCapture();
    if (enabled_ == (enabled ? 1 : 0))
        return;
    enabled_ = enabled ? 1 : 0;
    if (GetSafeHwnd()) {
        Invalidate(TRUE);
        ::UpdateWindow(GetSafeHwnd());
    }
}

void CNVXTextButton::RedrawNow() {
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

BOOL CNVXTextButton::PreTranslateMessage(MSG* msg) {
    TurnDoubleClickIntoPress(msg);
    if (!enabled_ && (msg->message == WM_LBUTTONDOWN || msg->message == WM_LBUTTONUP))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

COLORREF CNVXTextButton::FillColor() const {
    if (!enabled_)
        return fill_disabled;
    if (state.hover)
        return fill_hover;
    return state.pressed ? fill_pressed : fill_normal;
}

COLORREF CNVXTextButton::TextColor() const {
    if (!enabled_)
        return text_disabled;
    if (state.hover)
        return text_hover;
    return state.pressed ? text_pressed : text_normal;
}

bool CNVXTextButton::CreateRenderResources() {
    if (FAILED(CreateDirect2DFactory(D2D1_FACTORY_TYPE_MULTI_THREADED, __uuidof(ID2D1Factory1), &factory_))) {
        nvx::Diagnose(L"skin", L"Failed to cread Direct2D Factory");
        no_direct2d_ = true;
        return false;
    }
    const D2D1_RENDER_TARGET_PROPERTIES properties =
        D2D1::RenderTargetProperties(D2D1_RENDER_TARGET_TYPE_DEFAULT,
                                     D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
    if (FAILED(factory_->CreateDCRenderTarget(&properties, &render_target_))) {
        nvx::Diagnose(L"skin", L"Failed to cread Direct2D Render Target");
        return false;
    }
    nvx::ComPtr<IUnknown> shared;
    if (FAILED(CreateDirectWriteFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory), &shared)) ||
        FAILED(shared.As(&write_factory_))) {
        nvx::Diagnose(L"skin", L"Failed to cread Direct2D Write Factory");
        no_direct2d_ = true;
        return false;
    }
    if (SUCCEEDED(write_factory_->CreateTextFormat(L"Tahoma", nullptr, DWRITE_FONT_WEIGHT_NORMAL,
                                                   DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL,
                                                   CaptionFontSize(), L"", &text_format_)))
        text_format_->SetWordWrapping(DWRITE_WORD_WRAPPING_WHOLE_WORD);
    return true;
}

long CNVXTextButton::RenderResourceCount() const noexcept {
    return long{factory_ != nullptr} + long{render_target_ != nullptr} + long{write_factory_ != nullptr} +
           long{text_format_ != nullptr};
}

void CNVXTextButton::ReleaseRenderResources() {
    painted_.Clear();
    live_render_resources -= RenderResourceCount();
    text_format_.Reset();
    write_factory_.Reset();
    render_target_.Reset();
    factory_.Reset();
}

void CNVXTextButton::Paint() {
    nvx::PaintDc dc(GetSafeHwnd());
    if (!dc)
        return;
    const RECT client = GetClientRect();
    if (!render_target_ && !no_direct2d_) {
        ReleaseRenderResources();
        CreateRenderResources();
        live_render_resources += RenderResourceCount();
    }
    if (no_direct2d_)
        PaintGdi(dc.get(), client);
    else if (render_target_)
        PaintDirect2D(dc.get(), client);
}

void CNVXTextButton::PaintDirect2D(HDC dc, const RECT& client) {
    const Look look{client.right - client.left,
                    client.bottom - client.top,
                    surround_color,
                    FillColor(),
                    TextColor(),
                    corner_radius_x,
                    corner_radius_y,
                    text_};
    painted_.Paint(dc, client.left, client.top, look, [this](HDC surface, const Look& drawn) {
        const RECT area{0, 0, drawn.width, drawn.height};
        if (FAILED(render_target_->BindDC(surface, &area)))
            return false;
        const HRESULT result = Render(drawn);
        if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET))
            ReleaseRenderResources(); // made anew on the next paint
        return SUCCEEDED(result);
    });
}

HRESULT CNVXTextButton::Render(const Look& look) {
    const float width = static_cast<float>(look.width);
    const float height = static_cast<float>(look.height);
    render_target_->BeginDraw();
    nvx::ComPtr<ID2D1SolidColorBrush> brush;
    if (SUCCEEDED(render_target_->CreateSolidColorBrush(ToColor(look.surround), &brush))) {
        const D2D1_RECT_F area = D2D1::RectF(0, 0, width, height);
        render_target_->FillRectangle(area, brush.Get());
        brush->SetColor(ToColor(look.fill));
        render_target_->FillRoundedRectangle(
            D2D1::RoundedRect(area, std::min(look.radius_x, width / 2), std::min(look.radius_y, height / 2)),
            brush.Get());
        nvx::ComPtr<IDWriteTextLayout> layout;
        if (!look.text.empty() && text_format_ &&
            SUCCEEDED(write_factory_->CreateTextLayout(look.text.c_str(),
                                                       static_cast<UINT32>(look.text.size()),
                                                       text_format_.Get(), width, height, &layout))) {
            layout->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
            DWRITE_TEXT_METRICS metrics{};
            DWRITE_OVERHANG_METRICS overhang{};
            layout->GetMetrics(&metrics);
            layout->GetOverhangMetrics(&overhang);
            // The inked height: the line box plus whatever the glyphs reach beyond it.
            const float above = std::max(0.0f, overhang.top + metrics.top);
            const float below =
                std::max(0.0f, overhang.bottom + metrics.layoutHeight - metrics.top - metrics.height);
            const int text_height = static_cast<int>(std::ceil(above + metrics.height + below));
            const D2D1_POINT_2F origin{0.0f, static_cast<float>((look.height - text_height) / 2)};
            brush->SetColor(ToColor(look.text_color));
            render_target_->DrawTextLayout(origin, layout.Get(), brush.Get());
        }
    }
    return EndDirect2DDraw(render_target_.Get());
}

// Without Direct2D: the same colours, a plain rectangle and one line of GDI text.
void CNVXTextButton::PaintGdi(HDC dc, const RECT& client) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    COffscreenCanvas canvas(dc, width, height);
    if (!canvas)
        return;
    RECT area = canvas.rect();
    FillSolid(canvas.dc(), area, FillColor());
    if (!text_.empty()) {
        if (!gdi_font_) {
            LOGFONTW font{};
            font.lfHeight = -static_cast<LONG>(CaptionFontSize()); // negative: the em size, as DirectWrite's
            font.lfWeight = FW_NORMAL;
            font.lfCharSet = DEFAULT_CHARSET;
            font.lfQuality = PROOF_QUALITY;
            std::wcsncpy(font.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
            gdi_font_ = skin::Adopt<skin::Font>(::CreateFontIndirectW(&font));
        }
        nvx::SelectObjectScope select(canvas.dc(), gdi_font_.get());
        ::SetBkMode(canvas.dc(), TRANSPARENT);
        ::SetTextColor(canvas.dc(), TextColor());
        ::DrawTextW(canvas.dc(), text_.c_str(), static_cast<int>(text_.size()), &area,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    canvas.CopyTo(dc, client.left, client.top);
}

LRESULT CNVXTextButton::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_MOUSEMOVE:
        if (!enabled_)
            return 0;
        if (!state.tracking) {
            TRACKMOUSEEVENT request{sizeof(request), TME_LEAVE, GetSafeHwnd(), HOVER_DEFAULT};
            if (::TrackMouseEvent(&request)) {
                state.tracking = state.hover = 1;
                RedrawNow();
            }
        }
        break;
    case WM_MOUSELEAVE:
        state.tracking = state.hover = 0;
        RedrawNow();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        if (!enabled_)
            return 0; // also when the message did not come through the modal loop
        [[fallthrough]];
    case WM_CAPTURECHANGED:
        if (state.OnMouseButton(GetSafeHwnd(), msg, lparam))
            Invalidate(FALSE);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        // The system's button clicks on the space bar; a disabled button must not.
        if (!enabled_ && wparam == VK_SPACE)
            return 0;
        break;
    case BM_CLICK:
        if (!enabled_)
            return 0;
        break;
    case WM_NCDESTROY:
        ReleaseRenderResources();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(msg, wparam, lparam);
}
