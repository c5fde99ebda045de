#pragma once
// The prominent action button: a filled rounded rectangle with its caption centred, drawn with
// Direct2D and DirectWrite on every WM_PAINT. The render resources are made on the first paint
// and made anew after the render target was lost. Without Direct2D or DirectWrite (a system
// without them) it draws the same colours as a flat rectangle with GDI text.
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "skin/ButtonPress.h"
#include "skin/GdiOwners.h"
#include "skin/PaintMemo.h"

#include <d2d1_1.h>
#include <dwrite.h>

#include <string>

class CNVXTextButton : public CWnd {
public:
    CNVXTextButton();
    ~CNVXTextButton() override;

    COLORREF surround_color; // the client area around the rounded shape
    COLORREF fill_disabled, fill_normal, fill_hover, fill_pressed;
    COLORREF text_disabled, text_normal, text_hover, text_pressed;
    float corner_radius_x;
    float corner_radius_y;

    // The owner invalidates the button afterwards.
    void SetText(const std::wstring& text) { text_ = text; }
    const std::wstring& text() const noexcept { return text_; }
    // Drops any hover or press; repaints at once when the state changes. A disabled button
    // shows the disabled colours, ignores the mouse and delivers no clicks.
    void SetEnabled(bool enabled);
    bool enabled() const noexcept { return enabled_ != 0; }
    // The interaction state (hover, pressed, captured, tracking).
    ButtonInteraction state;

    // Render resources alive in all text buttons (for the tests of resource lifetime).
    static long LiveRenderResources() noexcept;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
    // Everything a Direct2D paint depends on: the same look draws the same pixels.
    struct Look {
        int width;
        int height;
        COLORREF surround;
        COLORREF fill;
        COLORREF text_color;
        float radius_x;
        float radius_y;
        std::wstring text;
        bool operator==(const Look&) const = default;
    };

    void Paint();
    bool CreateRenderResources();
    void ReleaseRenderResources();
    long RenderResourceCount() const noexcept;
    void PaintDirect2D(HDC dc, const RECT& client);
    // Draws the look into the bound target; answers EndDraw's result.
    HRESULT Render(const Look& look);
    void PaintGdi(HDC dc, const RECT& client);
    COLORREF FillColor() const;
    COLORREF TextColor() const;
    void RedrawNow();

    std::wstring text_;
    int enabled_ = 1;
    nvx::ComPtr<ID2D1Factory1> factory_;
    nvx::ComPtr<ID2D1DCRenderTarget> render_target_;
    nvx::ComPtr<IDWriteFactory> write_factory_;
    nvx::ComPtr<IDWriteTextFormat> text_format_;
    bool no_direct2d_ = false; // a factory could not be made: draw with GDI from now on
    CPaintMemo<Look> painted_;
    skin::Font gdi_font_;
};
