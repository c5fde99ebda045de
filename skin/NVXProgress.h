#pragma once
// The thin rounded progress bar of the progress page, drawn with Direct2D. The owner sets the
// public fields, then invalidates and updates the control to show a new position.
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "skin/PaintMemo.h"

#include <d2d1_1.h>

class CNVXProgress : public CWnd {
public:
    CNVXProgress();

    COLORREF background_color = 0; // the whole control
    COLORREF track_color = 0;      // the bar's full length
    COLORREF fill_color = 0;       // the done part
    int position = 0;              // in units of range; above range shows a full bar
    int range = 100;
    RECT bar_rect{}; // only its size counts: the bar is centred in the client area
    float corner_radius_x;
    float corner_radius_y;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
    // Everything a paint depends on: the same look draws the same pixels.
    struct Look {
        int width;
        int height;
        COLORREF background;
        COLORREF track;
        COLORREF fill;
        int position;
        int range;
        int bar_width;
        int bar_height;
        float radius_x;
        float radius_y;
        bool operator==(const Look&) const = default;
    };

    void OnPaint();
    void CreateRenderResources();
    void ReleaseRenderResources();
    // Draws the look into the bound target; answers EndDraw's result.
    HRESULT Draw(const Look& look);

    nvx::ComPtr<ID2D1Factory1> factory_;
    nvx::ComPtr<ID2D1DCRenderTarget> target_;
    CPaintMemo<Look> painted_;
};
