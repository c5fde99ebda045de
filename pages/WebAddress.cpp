#include "pages/WebAddress.h"

#include <algorithm>

namespace {

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) noexcept {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

} // namespace

bool IsWebAddress(std::wstring_view address) noexcept {
    std::wstring_view rest;
    if (StartsWithIgnoringCase(address, L"https://"))
        rest = address.substr(8);
    else if (StartsWithIgnoringCase(address, L"http://"))
        rest = address.substr(7);
    else
        return false;
    // A host must follow; "http:///x" or "http://\\share" names no web server.
    if (rest.empty() || rest.front() == L'/' || rest.front() == L'\\')
        return false;
    return std::none_of(address.begin(), address.end(), [](wchar_t c) { return c <= L' ' || c == 0x7F; });
}
