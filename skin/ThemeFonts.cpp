#include "skin/ThemeFonts.h"

#include "skin/ScreenDpi.h"

#include <cwchar>

ThemeFonts theThemeFonts;

namespace {

HFONT CreateThemeFont(const wchar_t* face, int size, LONG weight, bool underline) {
    LOGFONTW font{};
    font.lfHeight = ScaleX(size); // positive: the cell height
    font.lfWeight = weight;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&font);
}

} // namespace

void CreateThemeFonts() {
    theThemeFonts.font_body.reset(CreateThemeFont(L"Tahoma", 14, FW_NORMAL, false));
    theThemeFonts.font_link.reset(CreateThemeFont(L"Tahoma", 14, FW_NORMAL, true));
    theThemeFonts.font_button.reset(CreateThemeFont(L"Tahoma", 18, FW_NORMAL, false));
    theThemeFonts.font_title.reset(CreateThemeFont(L"Arial", 32, FW_BOLD, false));
}

void DestroyThemeFonts() {
    theThemeFonts.font_body.reset();
    theThemeFonts.font_link.reset();
    theThemeFonts.font_button.reset();
    theThemeFonts.font_title.reset();
}
