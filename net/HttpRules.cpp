#include "net/HttpRules.h"

#include <limits>

bool IsAcceptedProbeStatus(uint32_t status) noexcept {
    return status >= 200 && status <= 500 && status != 403 && status != 404;
}

bool IsSuccessStatus(uint32_t status) noexcept {
    return status >= 200 && status <= 299;
}

int64_t ParseContentLength(std::wstring_view text) noexcept {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return 0;
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return 0;
        int digit = c - L'0';
        if (value > (kMax - digit) / 10)
            return 0;
        value = value * 10 + digit;
    }
    return value;
}

bool IsCompleteDownload(int64_t probed_size, uint64_t received) noexcept {
    return probed_size > 0 && received == static_cast<uint64_t>(probed_size);
}
