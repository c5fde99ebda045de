#include "engine/TextPlaceholder.h"

std::wstring FillPlaceholder(std::wstring text, std::wstring_view value) {
    size_t at = text.find(L"%s");
    if (at != std::wstring::npos)
        text.replace(at, 2, value);
    return text;
}
