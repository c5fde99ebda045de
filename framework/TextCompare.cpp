#include "framework/TextCompare.h"

#include <cwctype>

namespace {

wchar_t AsciiLower(wchar_t c) noexcept {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

wchar_t Lower(wchar_t c) noexcept {
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

template <typename Fold>
bool EqualsFolded(std::wstring_view text, std::wstring_view other, Fold fold) noexcept {
    if (text.size() != other.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (fold(text[i]) != fold(other[i]))
            return false;
    return true;
}

} // namespace

std::wstring_view TrimmedOf(std::wstring_view text, std::wstring_view blanks) noexcept {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool EqualsIgnoringAsciiCase(std::wstring_view text, std::wstring_view other) noexcept {
    return EqualsFolded(text, other, AsciiLower);
}

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view other) noexcept {
    return EqualsFolded(text, other, Lower);
}
