#pragma once
// The caption of the skinned frame as plain data: where the client area lies inside the window,
// where the caption buttons sit, and how their hover / press / hot states follow the mouse. The
// window layer feeds it window coordinates and carries out what it answers (repaint, default
// processing, the button's action), so the rules can be tried without a window.
#include "skin/DpiScale.h"
#include "skin/PixelRect.h"

// Caption buttons by their place in the frame's list.
enum CaptionButtonId : int {
    kCaptionClose = 0,
    kCaptionMaximize = 1,
    kCaptionRestore = 2,
    kCaptionMinimize = 3
};
inline constexpr int kCaptionButtonCount = 4;

// A maximized window reaches this far past the monitor on the left, right and bottom.
inline constexpr int kMaximizedOverhang = 8;

// The frame's sizes at the screen's DPI.
struct FrameMetrics {
    int caption_height; // the caption strip below the top border
    int top_border;
    int side_border;
    int bottom_border;
    int button_width; // caption buttons
    int button_height;
    int icon_size_x; // window icon in the caption
    int icon_size_y;
};
FrameMetrics FrameMetricsFor(const DpiScale& scale);

// The client rectangle of a window rectangle (both in the same coordinates).
PixelRect ClientFromWindow(const PixelRect& window, bool maximized, const FrameMetrics& metrics);
// The caption strip in window coordinates, for a window of the given width.
PixelRect CaptionStrip(int window_width, const FrameMetrics& metrics);

// The state of one caption button. Flags are ints as everywhere in the skin's data.
struct CaptionButtonState {
    int id = 0;
    int visible = 0;  // drawn and hit-testable
    int disabled = 0; // drawn dimmed, never hit
    int hover = 0;
    int pressed = 0;
    int hot = 0;           // the button the current hover or press belongs to
    PixelRect button_rect; // window coordinates
    PixelRect glyph_rect;  // where the glyph frame is drawn, same coordinates
};

// A glyph frame of the given size centred in a button at the window's top-left corner; both
// rectangles empty when there is no glyph (nothing drawn, nothing hit).
void PlaceGlyph(CaptionButtonState& button, int frame_width, int frame_height, const FrameMetrics& metrics);

// Lays the buttons out right to left inside `window` (window coordinates, for a maximized
// window only its part on the monitor): Close at the right edge, Maximize left of it, Restore
// in Maximize's slot, Minimize left of both. Buttons with empty rectangles take no room.
// `buttons` is indexed by CaptionButtonId.
template <typename Button>
void LayoutCaptionButtons(Button* buttons, const PixelRect& window, const FrameMetrics& metrics);

// What the window must do after a mouse message on its frame.
struct CaptionReaction {
    bool repaint = false;            // repaint the frame
    bool default_processing = false; // hand the message on to the system
    int action = -1;                 // the button whose action runs now, or -1
};

// Mouse tracking over the caption buttons. The window forwards its non-client mouse messages
// with the point in window coordinates. A button acts when the left button is released over it
// while it is the hot one; since hovering makes a button hot as well, the press need not have
// begun on it, and a release anywhere else does nothing.
class CCaptionTracker {
public:
    // Index of the first visible, enabled button under the point, or -1.
    template <typename Button> static int HitTest(const Button* buttons, int count, int x, int y);
    // Index of the first button that is hot and visible, or -1.
    template <typename Button> static int FirstHot(const Button* buttons, int count);
    // Hot (of visible buttons), hover and pressed reset everywhere.
    template <typename Button> static void Clear(Button* buttons, int count);

    // `tracking_requested` is called when no leave tracking is active; it answers whether the
    // system accepted the request.
    template <typename Button, typename RequestTracking>
    CaptionReaction OnMouseMove(Button* buttons, int count, int x, int y, RequestTracking tracking_requested);
    void OnMouseHover() { tracking_ = true; }
    template <typename Button> CaptionReaction OnMouseLeave(Button* buttons, int count);
    // `hit_code` is the system's hit-test code; the caption and the sizing borders keep their
    // default handling (moving and sizing the window), every other code is swallowed.
    template <typename Button>
    CaptionReaction OnButtonDown(Button* buttons, int count, int x, int y, int hit_code);
    template <typename Button> CaptionReaction OnButtonUp(Button* buttons, int count, int x, int y);

    bool tracking() const { return tracking_; }
    bool press_in_progress() const { return press_; }
    // The window stopped tracking for good (destroyed).
    void Reset() { tracking_ = press_ = false; }

private:
    bool tracking_ = false; // a leave request for the non-client area is active
    bool press_ = false;    // a button was pressed and not yet released over the frame
};

// Hit-test codes the default handling keeps: the caption (2) and the sizing borders (10-17).
bool KeepsDefaultPress(int hit_code);

// ---- templates ----

template <typename Button>
void LayoutCaptionButtons(Button* buttons, const PixelRect& window, const FrameMetrics& metrics) {
    const PixelRect inner{window.left + metrics.side_border, window.top + metrics.top_border,
                          window.right - metrics.side_border, window.bottom - metrics.bottom_border};
    auto move_to = [&](CaptionButtonState& button, int left) {
        const int dx = left - button.button_rect.left;
        const int dy = inner.top - button.button_rect.top;
        button.button_rect.Offset(dx, dy);
        button.glyph_rect.Offset(dx, dy);
    };
    CaptionButtonState& close = buttons[kCaptionClose];
    CaptionButtonState& maximize = buttons[kCaptionMaximize];
    CaptionButtonState& restore = buttons[kCaptionRestore];
    CaptionButtonState& minimize = buttons[kCaptionMinimize];
    const int close_width = close.button_rect.Width();
    const int maximize_width = maximize.button_rect.Width();
    move_to(close, inner.right - close_width);
    move_to(maximize, close.button_rect.left - maximize_width);
    move_to(restore, maximize.button_rect.left);
    move_to(minimize, inner.right - close_width - maximize_width - minimize.button_rect.Width());
}

template <typename Button> int CCaptionTracker::HitTest(const Button* buttons, int count, int x, int y) {
    for (int i = 0; i < count; ++i) {
        const CaptionButtonState& b = buttons[i];
        if (b.visible && !b.disabled && b.button_rect.Contains(x, y))
            return i;
    }
    return -1;
}

template <typename Button> int CCaptionTracker::FirstHot(const Button* buttons, int count) {
    for (int i = 0; i < count; ++i) {
        if (buttons[i].hot && buttons[i].visible)
            return i;
    }
    return -1;
}

template <typename Button> void CCaptionTracker::Clear(Button* buttons, int count) {
    for (int i = 0; i < count; ++i) {
        CaptionButtonState& b = buttons[i];
        if (b.visible)
            b.hot = 0;
        b.hover = 0;
        b.pressed = 0;
    }
}

template <typename Button, typename RequestTracking>
CaptionReaction CCaptionTracker::OnMouseMove(Button* buttons, int count, int x, int y,
                                             RequestTracking tracking_requested) {
    if (!tracking_)
        tracking_ = tracking_requested();
    const int hit = HitTest(buttons, count, x, y);
    if (hit < 0) {
        Clear(buttons, count);
        return {true, false, -1};
    }
    if (FirstHot(buttons, count) == hit)
        return {false, true, -1}; // moving within the hot button changes nothing
    Clear(buttons, count);
    buttons[hit].hot = 1;
    buttons[hit].hover = 1;
    return {true, true, -1};
}

template <typename Button> CaptionReaction CCaptionTracker::OnMouseLeave(Button* buttons, int count) {
    tracking_ = false;
    // A pressed button keeps its look while the mouse is away; it is settled when the mouse
    // comes back over the frame.
    if (press_)
        return {};
    Clear(buttons, count);
    return {true, false, -1};
}

template <typename Button>
CaptionReaction CCaptionTracker::OnButtonDown(Button* buttons, int count, int x, int y, int hit_code) {
    Clear(buttons, count);
    const int hit = HitTest(buttons, count, x, y);
    if (hit < 0)
        return {false, KeepsDefaultPress(hit_code), -1};
    press_ = true;
    buttons[hit].hot = 1;
    buttons[hit].pressed = 1;
    return {true, false, -1};
}

template <typename Button>
CaptionReaction CCaptionTracker::OnButtonUp(Button* buttons, int count, int x, int y) {
    press_ = false;
    const int hit = HitTest(buttons, count, x, y);
    const int action = hit >= 0 && FirstHot(buttons, count) == hit ? hit : -1;
    Clear(buttons, count);
    return {true, false, action};
}
