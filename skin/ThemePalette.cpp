#include "skin/ThemePalette.h"

ThemePalette theThemePalette;

void InitThemePalette() {
    ThemePalette& p = theThemePalette;
    p.caption_text = RGB(200, 200, 200);
    // Background, border and caption strip are one colour today but separate roles.
    p.window_background = RGB(24, 25, 30);
    p.frame_border = RGB(24, 25, 30);
    p.caption_background = RGB(24, 25, 30);
    p.close_hover = RGB(181, 39, 36);
    p.close_pressed = RGB(149, 16, 14);
    p.caption_button_hover = RGB(49, 63, 73);
    p.caption_button_pressed = RGB(28, 31, 33);
    p.title_text = RGB(255, 255, 255);
    p.progress_track = RGB(75, 71, 70);
    p.progress_fill = RGB(7, 165, 216);
    p.label_text = RGB(185, 186, 187);
    p.combo_background = RGB(47, 48, 52);
    p.combo_arrow_background = RGB(65, 66, 70);
    p.action_disabled = RGB(112, 112, 112);
    p.action_normal = RGB(7, 165, 216);
    p.action_hover = RGB(23, 190, 244);
    p.action_pressed = RGB(5, 138, 181);
    p.action_text = RGB(255, 255, 255);
    p.action_text_disabled = RGB(240, 240, 240);
}
