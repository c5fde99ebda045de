#include "skin/CaptionRules.h"

FrameMetrics FrameMetricsFor(const DpiScale& scale) {
    return {scale.ScaleY(28), scale.ScaleY(1),  scale.ScaleX(1),  scale.ScaleY(1),
            scale.ScaleX(30), scale.ScaleY(30), scale.ScaleX(18), scale.ScaleY(18)};
}

PixelRect ClientFromWindow(const PixelRect& window, bool maximized, const FrameMetrics& m) {
    PixelRect client = window;
    if (maximized) {
        client.left += kMaximizedOverhang;
        client.right -= kMaximizedOverhang;
        client.bottom -= kMaximizedOverhang;
        client.top += m.top_border + m.caption_height + kMaximizedOverhang;
    } else {
        client.top += m.caption_height + m.top_border;
        client.left += m.side_border;
        client.right -= m.side_border;
        client.bottom -= m.bottom_border;
    }
    return client;
}

PixelRect CaptionStrip(int window_width, const FrameMetrics& m) {
    return {m.side_border, m.top_border, window_width - m.side_border, m.top_border + m.caption_height};
}

void PlaceGlyph(CaptionButtonState& button, int frame_width, int frame_height, const FrameMetrics& m) {
    if (frame_width <= 0 || frame_height <= 0) {
        button.button_rect = {};
        button.glyph_rect = {};
        return;
    }
    button.button_rect = {0, 0, m.button_width, m.button_height};
    const int left = (m.button_width - frame_width) / 2;
    const int top = (m.button_height - frame_height) / 2;
    button.glyph_rect = {left, top, left + frame_width, top + frame_height};
}

bool KeepsDefaultPress(int hit_code) {
    constexpr int kCaption = 2;                                    // HTCAPTION
    constexpr int kFirstSizingBorder = 10, kLastSizingBorder = 17; // HTLEFT .. HTBOTTOMRIGHT
    return hit_code == kCaption || (hit_code >= kFirstSizingBorder && hit_code <= kLastSizingBorder);
}
