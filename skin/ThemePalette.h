#pragma once
// The colours every skinned window draws with, fixed once at start-up.
#include <windows.h>

struct ThemePalette {
    COLORREF caption_text = 0;
    COLORREF window_background = 0;
    COLORREF frame_border = 0;
    COLORREF caption_background = 0;
    COLORREF close_hover = 0;
    COLORREF close_pressed = 0;
    COLORREF caption_button_hover = 0;
    COLORREF caption_button_pressed = 0;
    COLORREF title_text = 0;
    COLORREF progress_track = 0;
    COLORREF progress_fill = 0;
    COLORREF label_text = 0;
    COLORREF combo_background = 0;
    COLORREF combo_arrow_background = 0;
    COLORREF action_disabled = 0;
    COLORREF action_normal = 0;
    COLORREF action_hover = 0;
    COLORREF action_pressed = 0;
    COLORREF action_text = 0;
    COLORREF action_text_disabled = 0;
};

extern ThemePalette theThemePalette;

// Called once at start-up, before any window exists.
void InitThemePalette();
