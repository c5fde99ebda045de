#include "skin/ProgressGeometry.h"

#include <algorithm>

float ProgressFraction(int position, int range) {
    if (position <= 0)
        return 0.0f;
    if (range <= 0 || position >= range)
        return 1.0f;
    return static_cast<float>(position) / static_cast<float>(range);
}

ProgressGeometry LayoutProgress(int client_left, int client_top, int client_width, int client_height,
                                int bar_width, int bar_height, float corner_radius_x, float corner_radius_y,
                                int position, int range) {
    const float width = static_cast<float>(bar_width);
    const float height = static_cast<float>(bar_height);
    ProgressGeometry bar;
    bar.left = static_cast<float>(client_left) + (static_cast<float>(client_width) - width) * 0.5f;
    bar.top = static_cast<float>(client_top) + (static_cast<float>(client_height) - height) * 0.5f;
    bar.right = bar.left + width;
    bar.bottom = bar.top + height;
    bar.radius_x = corner_radius_x;
    bar.radius_y = std::min(corner_radius_y, width * 0.5f);
    bar.has_fill = position > 0;
    bar.fill_right = bar.left + width * ProgressFraction(position, range);
    return bar;
}
