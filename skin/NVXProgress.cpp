#include "skin/NVXProgress.h"

#include "skin/Direct2DEntry.h"
#include "skin/ProgressGeometry.h"
#include "skin/ScreenDpi.h"

namespace {

D2D1_COLOR_F ToColor(COLORREF color) {
    return D2D1::ColorF(GetRValue(color) / 255.0f, GetGValue(color) / 255.0f, GetBValue(color) / 255.0f);
}

void FillWith(ID2D1RenderTarget* target, COLORREF color, auto&& fill) {
    nvx::ComPtr<ID2D1SolidColorBrush> brush;
    if (SUCCEEDED(target->CreateSolidColorBrush(ToColor(color), brush.ReleaseAndGetAddressOf())))
        fill(brush.Get());
}

} // namespace

CNVXProgress::CNVXProgress()
    : corner_radius_x(theCornerRadii.progress_x), corner_radius_y(theCornerRadii.progress_y) {}

LRESULT CNVXProgress::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE; // the paint covers the whole control
    case WM_NCDESTROY:
        painted_.Clear(); // no picture kept for a window that is gone
        return CWnd::WindowProc(msg, wparam, lparam);
    default:
        return CWnd::WindowProc(msg, wparam, lparam);
    }
}

void CNVXProgress::CreateRenderResources() {
    ReleaseRenderResources();
    if (FAILED(CreateDirect2DFactory(D2D1_FACTORY_TYPE_MULTI_THREADED, __uuidof(ID2D1Factory1),
                                     reinterpret_cast<void**>(factory_.ReleaseAndGetAddressOf()))))
        return;
    // 96 DPI: one unit is one pixel. The program is DPI-aware and its sizes are already in
    // screen pixels; the default (the system DPI) would scale them a second time.
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT,
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE), 96.0f, 96.0f);
    if (FAILED(factory_->CreateDCRenderTarget(&properties, target_.ReleaseAndGetAddressOf())))
        target_.Reset();
}

void CNVXProgress::ReleaseRenderResources() {
    painted_.Clear();
    target_.Reset();
    factory_.Reset();
}

void CNVXProgress::OnPaint() {
    nvx::PaintDc dc(GetSafeHwnd());
    if (!dc)
        return;
    if (!target_)
        CreateRenderResources();
    // Without Direct2D nothing is drawn: the window shows what was behind it.
    if (!target_)
        return;
    const RECT client = GetClientRect();
    const Look look{client.right - client.left,
                    client.bottom - client.top,
                    background_color,
                    track_color,
                    fill_color,
                    position,
                    range,
                    bar_rect.right - bar_rect.left,
                    bar_rect.bottom - bar_rect.top,
                    corner_radius_x,
                    corner_radius_y};
    painted_.Paint(dc.get(), client.left, client.top, look, [this](HDC surface, const Look& drawn) {
        const RECT area{0, 0, drawn.width, drawn.height};
        if (FAILED(target_->BindDC(surface, &area)))
            return false;
        const HRESULT result = Draw(drawn);
        if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET))
            ReleaseRenderResources(); // both made anew on the next paint
        return SUCCEEDED(result);
    });
}

HRESULT CNVXProgress::Draw(const Look& look) {
    ID2D1DCRenderTarget* target = target_.Get();
    target->BeginDraw();
    FillWith(target, look.background, [&](ID2D1Brush* brush) {
        target->FillRectangle(
            D2D1::RectF(0, 0, static_cast<float>(look.width), static_cast<float>(look.height)), brush);
    });

    // The target is bound to the client rectangle: its origin is the client's top-left corner.
    const ProgressGeometry bar =
        LayoutProgress(0, 0, look.width, look.height, look.bar_width, look.bar_height, look.radius_x,
                       look.radius_y, look.position, look.range);
    const D2D1_ROUNDED_RECT track{D2D1::RectF(bar.left, bar.top, bar.right, bar.bottom), bar.radius_x,
                                  bar.radius_y};
    FillWith(target, look.track, [&](ID2D1Brush* brush) { target->FillRoundedRectangle(track, brush); });

    if (bar.has_fill) {
        // The done part keeps the track's rounded ends but has a straight moving edge: the
        // track's shape cut at the fill's right edge. A clip does that cut exactly (and also
        // where geometry combination is missing, as in Wine's Direct2D).
        target->PushAxisAlignedClip(D2D1::RectF(bar.left, bar.top, bar.fill_right, bar.bottom),
                                    D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
        FillWith(target, look.fill, [&](ID2D1Brush* brush) { target->FillRoundedRectangle(track, brush); });
        target->PopAxisAlignedClip();
    }
    return EndDirect2DDraw(target);
}
