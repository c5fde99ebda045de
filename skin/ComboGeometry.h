#pragma once
// Sizes and places of the skinned combo box, its drop-down list and the flat edit field, as plain
// arithmetic over pixel sizes (the controls pass in the DPI-scaled margins they use).

#include "skin/PixelRect.h"

// Margins of the closed combo box at the screen's DPI.
struct ComboMetrics {
    int arrow_min_width = 24; // ScaleX(24): the arrow area is at least this wide
    int chevron_inset = 5;    // ScaleX(5): chevron's distance from the right edge
    int text_margin = 4;      // ScaleExactX(4)
    int one_pixel = 1;        // ScaleExactX(1)
};

struct ClosedComboLayout {
    PixelRect arrow_area; // filled with the arrow background colour
    PixelRect chevron;    // one frame of the chevron strip, unscaled
    PixelRect text;       // the selected item's text
};

// client_* is the combo's client size, chevron_* the size of one frame of the strip (0 x 0 when
// there is no strip), text_height the height of the font's text.
ClosedComboLayout LayoutClosedCombo(int client_width, int client_height, int chevron_width,
                                    int chevron_height, int text_height, const ComboMetrics& metrics);

// The rectangle redrawn after a click: left of the chevron by two text margins, full height.
PixelRect ComboArrowRect(int client_width, int client_height, int chevron_width, int text_margin);

// Where a click toggles the list of a combo whose edit part can be typed into.
bool IsInComboArrowHitArea(int x, int y, int client_width, int client_height, int chevron_width,
                           int text_margin);

// The drop-down list is seven rows of int(dpi_y x 22 / 96) pixels high.
int ComboListHeight(int dpi_y);

// The drop-down list's width: the widest item (plus a scroll bar when there are more than 30
// items, so that one is shown) and the edge and character margins on both sides, at least as wide
// as the combo itself.
int ComboDroppedWidth(int widest_item, int item_count, int scroll_bar_width, int edge_margin, int char_margin,
                      int combo_width);

// The list's new left edge: moved left by its overhang past the monitor's right edge, when the
// combo itself starts left of that edge.
int KeepListOnMonitor(int combo_left, int list_left, int list_width, int monitor_right);

// The text of one list item, relative to the item's own rectangle.
PixelRect ListItemTextRect(int item_width, int item_height, int text_margin);

// How far the flat edit's client area is shrunk from the top and from the bottom so that one
// line of text stands vertically centred.
int EditTextInset(int window_height, int external_leading, int text_height);

// Rows of the drop-down list: seven of them fill the list inside its border.
int ComboListItemHeight(int dpi_y, int border);
