#include "skin/ComboGeometry.h"

#include <algorithm>

ClosedComboLayout LayoutClosedCombo(int client_width, int client_height, int chevron_width,
                                    int chevron_height, int text_height, const ComboMetrics& metrics) {
    ClosedComboLayout layout;
    const int arrow_width = std::max(chevron_width, metrics.arrow_min_width);
    layout.arrow_area = {client_width - arrow_width, 0, client_width, client_height};
    const int chevron_left = client_width - chevron_width - metrics.chevron_inset;
    const int chevron_top = (client_height - chevron_height) / 2;
    layout.chevron = {chevron_left, chevron_top, chevron_left + chevron_width, chevron_top + chevron_height};
    const int text_top = (client_height - text_height) / 2;
    layout.text = {metrics.text_margin, text_top,
                   client_width - chevron_width - 2 * metrics.text_margin + metrics.one_pixel,
                   text_top + text_height};
    return layout;
}

PixelRect ComboArrowRect(int client_width, int client_height, int chevron_width, int text_margin) {
    const int left = client_width - chevron_width - 2 * text_margin;
    return {left, 0, left + chevron_width + text_margin, client_height};
}

bool IsInComboArrowHitArea(int x, int y, int client_width, int client_height, int chevron_width,
                           int text_margin) {
    return x >= client_width - chevron_width - text_margin - 1 && x <= client_width - 1 && y >= 1 &&
           y <= client_height - 1;
}

int ComboListHeight(int dpi_y) {
    return 7 * (dpi_y * 22 / 96);
}

int ComboDroppedWidth(int widest_item, int item_count, int scroll_bar_width, int edge_margin, int char_margin,
                      int combo_width) {
    const int widest = widest_item + (item_count > 30 ? scroll_bar_width : 0);
    return std::max(widest + 2 * edge_margin + 2 * char_margin, combo_width);
}

int KeepListOnMonitor(int combo_left, int list_left, int list_width, int monitor_right) {
    if (combo_left < monitor_right && list_left + list_width > monitor_right)
        return monitor_right - list_width;
    return list_left;
}

PixelRect ListItemTextRect(int item_width, int item_height, int text_margin) {
    return {text_margin, 1, item_width - 8, item_height - 2};
}

int EditTextInset(int window_height, int external_leading, int text_height) {
    return std::max(0, (window_height - external_leading - text_height) / 2);
}

int ComboListItemHeight(int dpi_y, int border) {
    return std::max(1, (ComboListHeight(dpi_y) - 2 * border) / 7);
}
