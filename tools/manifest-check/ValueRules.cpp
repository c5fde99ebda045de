#include "tools/manifest-check/ValueRules.h"

#include "config/TextRules.h"
#include "framework/TextCompare.h"

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool IsHexDigit(wchar_t c) {
    return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

} // namespace

std::optional<StrictVersion> ReadStrictVersion(std::wstring_view text) {
    StrictVersion version;
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != L'.')
                return std::nullopt;
            ++pos;
        }
        size_t start = pos;
        uint64_t value = 0;
        while (pos < text.size() && IsDigit(text[pos]) && pos - start < 10)
            value = value * 10 + static_cast<uint64_t>(text[pos++] - L'0');
        // The installer reads each number as a signed 32-bit value.
        if (pos == start || value > 0x7FFFFFFF)
            return std::nullopt;
        version.numbers[i] = static_cast<uint32_t>(value);
    }
    if (pos != text.size())
        return std::nullopt;
    return version;
}

bool IsLaterVersion(const StrictVersion& candidate, const StrictVersion& reference) {
    for (int i = 0; i < 4; ++i) {
        if (candidate.numbers[i] != reference.numbers[i])
            return candidate.numbers[i] > reference.numbers[i];
    }
    return false;
}

std::wstring UrlProblem(std::wstring_view url) {
    size_t scheme_length = 0;
    if (StartsWithIgnoringCase(url, L"http://"))
        scheme_length = 7;
    else if (StartsWithIgnoringCase(url, L"https://"))
        scheme_length = 8;
    else
        return L"is not an http:// or https:// address";
    for (wchar_t c : url) {
        if (c <= L' ' || c == 0x7F)
            return L"contains a blank or a control character (write %20 for a blank)";
    }
    std::wstring_view rest = url.substr(scheme_length);
    std::wstring_view authority = rest.substr(0, std::min(rest.find_first_of(L"/?#"), rest.size()));
    authority.remove_prefix(authority.find(L'@') + 1); // user and password, when there are any
    std::wstring_view host = authority.starts_with(L'[')
                                 ? authority
                                 : authority.substr(0, std::min(authority.find(L':'), authority.size()));
    if (host.empty())
        return L"has no host name";
    return {};
}

bool IsHttpsUrl(std::wstring_view url) {
    return StartsWithIgnoringCase(url, L"https://");
}

bool IsPlainLanguageId(std::wstring_view text) {
    if (text.empty() || text.size() > 9)
        return false;
    for (wchar_t c : text) {
        if (!IsDigit(c))
            return false;
    }
    return DecimalTextToInt(text) > 0;
}

bool IsSha256Text(std::wstring_view text) {
    if (text.size() != 64)
        return false;
    for (wchar_t c : text) {
        if (!IsHexDigit(c))
            return false;
    }
    return true;
}

bool IsBracedGuid(std::wstring_view text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text.front() != L'{' || text.back() != L'}')
        return false;
    for (size_t i = 1; i < 37; ++i) {
        bool dash_place = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash_place ? text[i] != L'-' : !IsHexDigit(text[i]))
            return false;
    }
    return true;
}
