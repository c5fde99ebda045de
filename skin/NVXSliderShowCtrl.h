#pragma once
// The slideshow of the progress page: product pictures, each standing still for a while and then
// sliding out to the left while the next slides in. A 33 ms timer repaints it; a click anywhere
// is reported to the parent with WM_SKIN_SLIDESHOW_CLICK.
#include "framework/Wnd.h"
#include "skin/PaintCache.h"

#include <vector>

// Sent synchronously to the parent on a left-button press; wParam and lParam 0.
inline constexpr UINT WM_SKIN_SLIDESHOW_CLICK = WM_USER + 250;

// A decoded picture file. The bitmap is a plain handle: its owner is whoever decoded it.
struct SlidePicture {
    int width = 0;
    int height = 0;
    HBITMAP bitmap = nullptr;
};

class CNVXSliderShowCtrl : public CWnd {
public:
    static constexpr UINT_PTR kRepaintTimer = 1;
    static constexpr UINT kRepaintPeriodMs = 33;

    COLORREF background_color = RGB(24, 25, 30);
    int margin_left = 0;
    int margin_top = 0;
    int margin_right = 0;
    int margin_bottom = 0;
    double transition_seconds = 0.6;
    double hold_seconds = 7.5;
    std::vector<SlidePicture> pictures;

    // Draws the control as it stands t seconds into the show (the paint uses the process clock).
    void Render(HDC target, double t);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
    void OnTimer(UINT_PTR timer_id) override;

private:
    void OnPaint();

    CPaintCache canvas_;
};
