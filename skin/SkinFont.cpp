#include "skin/SkinFont.h"

#include <cwchar>

HFONT CreateSkinFont(const wchar_t* face, int cell_height, LONG weight, BYTE charset, bool underline) {
    LOGFONTW font{};
    font.lfHeight = cell_height;
    font.lfWeight = weight;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = charset;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&font);
}
