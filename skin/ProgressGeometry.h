#pragma once
// Where the progress bar's track and its done part lie inside the control. Plain arithmetic, so
// that the rounding of the moving edge can be tried for any size without drawing.

struct ProgressGeometry {
    // The track: a rounded rectangle centred in the client area.
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    float radius_x = 0;
    float radius_y = 0;
    // The done part is the track cut at this x (straight edge); equal to `left` when nothing is done.
    float fill_right = 0;
    bool has_fill = false;
};

// The share of the bar that is done, 0 to 1: nothing at position 0 or below, everything at
// `range` and above (also when `range` is not positive, so that a bad range cannot divide by 0).
float ProgressFraction(int position, int range);

// client_* is the client rectangle, bar_* the bar's size; the track is centred in the client area
// and keeps the corner radii, the vertical one at most half the bar's width.
ProgressGeometry LayoutProgress(int client_left, int client_top, int client_width, int client_height,
                                int bar_width, int bar_height, float corner_radius_x, float corner_radius_y,
                                int position, int range);
