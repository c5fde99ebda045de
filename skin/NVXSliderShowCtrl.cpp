#include "skin/NVXSliderShowCtrl.h"

#include "framework/Handles.h"
#include "skin/SlideshowTimeline.h"
#include "skin/OffscreenCanvas.h"

#include <ctime>

namespace {

// The show's start: the first paint of any slideshow that had pictures. One start for the whole
// process, so that a page shown again continues the show where it was.
long ShowStartMs(long now_ms) {
    static const long start = now_ms;
    return start;
}

// The C runtime's clock counts milliseconds since the process started; -1 when unavailable.
long ProcessClockMs() {
    const std::clock_t now = std::clock();
    if (now == static_cast<std::clock_t>(-1))
        return -1;
    return static_cast<long>(static_cast<long long>(now) * 1000 / CLOCKS_PER_SEC);
}

void CopyPicture(HDC target, HDC source, const SlidePicture& picture, const RECT& area, SlidePlacement at) {
    if (!picture.bitmap)
        return; // a picture that could not be decoded takes its turn as background only
    nvx::SelectObjectScope select(source, picture.bitmap);
    ::BitBlt(target, area.left + at.x, area.top + at.y, picture.width, picture.height, source, 0, 0, SRCCOPY);
}

} // namespace

LRESULT CNVXSliderShowCtrl::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE: {
        const LRESULT result = Default(msg, wparam, lparam);
        if (result != -1)
            SetTimer(kRepaintTimer, kRepaintPeriodMs);
        return result;
    }
    case WM_DESTROY:
        KillTimer(kRepaintTimer);
        return Default(msg, wparam, lparam);
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE; // the paint covers the whole control in one copy
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_LBUTTONDOWN:
        if (HWND parent = ::GetParent(GetSafeHwnd()))
            ::SendMessageW(parent, WM_SKIN_SLIDESHOW_CLICK, 0, 0);
        return 0;
    default:
        return CWnd::WindowProc(msg, wparam, lparam);
    }
}

void CNVXSliderShowCtrl::OnTimer(UINT_PTR timer_id) {
    if (timer_id == kRepaintTimer)
        ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CNVXSliderShowCtrl::OnPaint() {
    nvx::PaintDc dc(GetSafeHwnd());
    if (!dc)
        return;
    double t = 0.0;
    if (!pictures.empty()) {
        const long now = ProcessClockMs();
        t = SecondsSince(ShowStartMs(now), now);
    }
    Render(dc.get(), t);
}

void CNVXSliderShowCtrl::Render(HDC target, double t) {
    const RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    // Drawn off screen and copied in one step, so that a slide never flickers.
    HDC canvas = canvas_.Surface(target, width, height);
    if (!canvas)
        return;
    FillSolid(canvas, client, background_color);
    if (!pictures.empty()) {
        const RECT area{client.left + margin_left, client.top + margin_top, client.right - margin_right,
                        client.bottom - margin_bottom};
        const int count = static_cast<int>(pictures.size());
        const SlideFrame frame = SlideFrameAt(t, count, transition_seconds, hold_seconds);
        const SlidePicture& current = pictures[static_cast<size_t>(frame.index)];
        const SlidePicture& next = pictures[static_cast<size_t>(frame.next)];
        const SlidePlacements at = PlaceSlides(frame, area.right - area.left, area.bottom - area.top,
                                               current.width, current.height, next.width, next.height);
        // Compatible with the canvas rather than the window: no trip to the display driver.
        skin::MemoryDc source = skin::Adopt<skin::MemoryDc>(::CreateCompatibleDC(canvas));
        if (source) {
            CopyPicture(canvas, source.get(), current, area, at.current);
            if (at.draws_next)
                CopyPicture(canvas, source.get(), next, area, at.next);
        }
    }
    canvas_.CopyTo(target, 0, 0);
}
