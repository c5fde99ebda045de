#include "skin/ThemeFonts.h"

#include "skin/ScreenDpi.h"
#include "skin/SkinFont.h"

ThemeFonts theThemeFonts;

void CreateThemeFonts() {
    theThemeFonts.font_body.reset(CreateSkinFont(L"Tahoma", ScaleX(14), FW_NORMAL, DEFAULT_CHARSET, false));
    theThemeFonts.font_link.reset(CreateSkinFont(L"Tahoma", ScaleX(14), FW_NORMAL, DEFAULT_CHARSET, true));
    theThemeFonts.font_button.reset(CreateSkinFont(L"Tahoma", ScaleX(18), FW_NORMAL, DEFAULT_CHARSET, false));
    theThemeFonts.font_title.reset(CreateSkinFont(L"Arial", ScaleX(32), FW_BOLD, DEFAULT_CHARSET, false));
}

void DestroyThemeFonts() {
    theThemeFonts.font_body.reset();
    theThemeFonts.font_link.reset();
    theThemeFonts.font_button.reset();
    theThemeFonts.font_title.reset();
}
