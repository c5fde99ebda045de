#include "localization/MessageText.h"

std::wstring FillPlaceholder(std::wstring_view text, std::wstring_view value) {
    std::wstring filled;
    filled.reserve(text.size() + value.size());
    bool value_used = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size()) {
            wchar_t next = text[i + 1];
            if (next == L'%') {
                filled += L'%';
                ++i;
                continue;
            }
            if (next == L's' && !value_used) {
                filled += value;
                value_used = true;
                ++i;
                continue;
            }
        }
        filled += text[i];
    }
    return filled;
}
