#include "net/RetryRules.h"

#include "framework/TextCompare.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <limits>

namespace {

// WinINet's numbers for the failures worth another try.
constexpr uint32_t kTransientErrors[] = {
    12002, // timeout
    12007, // name not resolved
    12029, // cannot connect
    12030, // connection aborted
    12031, // connection reset
    12152, // invalid server response (an answer cut inside its head)
};

// Header values are padded with spaces and tabs only.
std::wstring_view Trim(std::wstring_view text) {
    return TrimmedOf(text, kSpaceAndTab);
}

// A run of decimal digits at the start of `text`, consumed; nothing when there is none or it
// does not fit.
std::optional<int64_t> TakeNumber(std::wstring_view& text) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    size_t i = 0;
    int64_t value = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        int digit = text[i] - L'0';
        if (value > (kMax - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
        ++i;
    }
    if (i == 0)
        return std::nullopt;
    text.remove_prefix(i);
    return value;
}

bool TakeChar(std::wstring_view& text, wchar_t c) {
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "Sun, 06 Nov 1994 08:49:37 GMT" (the only date form servers send today).
std::optional<int64_t> ParseHttpDate(std::wstring_view text) {
    size_t comma = text.find(L',');
    if (comma == std::wstring_view::npos)
        return std::nullopt;
    text = Trim(text.substr(comma + 1));
    auto day = TakeNumber(text);
    if (!day || !TakeChar(text, L' ') || text.size() < 4)
        return std::nullopt;
    static constexpr std::array<std::wstring_view, 12> kMonths = {
        L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun", L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    int month = 0;
    for (size_t i = 0; i < kMonths.size(); ++i)
        if (text.substr(0, 3) == kMonths[i])
            month = static_cast<int>(i) + 1;
    text.remove_prefix(3);
    if (month == 0 || !TakeChar(text, L' '))
        return std::nullopt;
    auto year = TakeNumber(text);
    if (!year || !TakeChar(text, L' '))
        return std::nullopt;
    auto hour = TakeNumber(text);
    if (!hour || !TakeChar(text, L':'))
        return std::nullopt;
    auto minute = TakeNumber(text);
    if (!minute || !TakeChar(text, L':'))
        return std::nullopt;
    auto second = TakeNumber(text);
    if (!second || Trim(text) != L"GMT")
        return std::nullopt;
    if (*day < 1 || *day > 31 || *year < 1970 || *year > 9999 || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    return DaysFromCivil(*year, month, *day) * 86400 + *hour * 3600 + *minute * 60 + *second;
}

} // namespace

bool IsTransientStatus(uint32_t status) noexcept {
    switch (status) {
    case 408:
    case 429:
    case 500:
    case 502:
    case 503:
    case 504:
        return true;
    default:
        return false;
    }
}

bool IsTransientError(uint32_t error) noexcept {
    return std::find(std::begin(kTransientErrors), std::end(kTransientErrors), error) !=
           std::end(kTransientErrors);
}

uint32_t BackoffDelayMs(int attempt, uint32_t random) noexcept {
    int doublings = std::clamp(attempt - 1, 0, 16);
    uint64_t ceiling = std::min<uint64_t>(kBackoffCapMs, static_cast<uint64_t>(kBackoffBaseMs) << doublings);
    return static_cast<uint32_t>(random % (ceiling + 1));
}

std::optional<uint64_t> ParseRetryAfterMs(std::wstring_view text, int64_t now_unix) noexcept {
    text = Trim(text);
    std::wstring_view digits = text;
    if (auto seconds = TakeNumber(digits); seconds && digits.empty()) {
        constexpr int64_t kMaxSeconds = std::numeric_limits<int64_t>::max() / 1000;
        return static_cast<uint64_t>(std::min(*seconds, kMaxSeconds)) * 1000;
    }
    auto when = ParseHttpDate(text);
    if (!when)
        return std::nullopt;
    return *when > now_unix ? static_cast<uint64_t>(*when - now_unix) * 1000 : 0;
}

uint32_t RetryWaitMs(uint32_t backoff_ms, std::optional<uint64_t> retry_after_ms) noexcept {
    if (!retry_after_ms)
        return backoff_ms;
    return static_cast<uint32_t>(std::min<uint64_t>(*retry_after_ms, kBackoffCapMs));
}

std::optional<ContentRange> ParseContentRange(std::wstring_view text) noexcept {
    text = Trim(text);
    constexpr std::wstring_view kUnit = L"bytes ";
    if (text.size() < kUnit.size())
        return std::nullopt;
    for (size_t i = 0; i < kUnit.size(); ++i)
        if (static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i]))) != kUnit[i])
            return std::nullopt;
    text = Trim(text.substr(kUnit.size()));
    ContentRange range;
    auto first = TakeNumber(text);
    if (!first || !TakeChar(text, L'-'))
        return std::nullopt;
    auto last = TakeNumber(text);
    if (!last || !TakeChar(text, L'/') || *last < *first)
        return std::nullopt;
    range.first = *first;
    range.last = *last;
    if (text == L"*")
        return range;
    auto total = TakeNumber(text);
    if (!total || !text.empty() || *total <= *last)
        return std::nullopt;
    range.total = *total;
    return range;
}

bool ContinuesFileAt(const ContentRange& range, uint64_t offset, int64_t length) noexcept {
    return length > 0 && range.total == length && range.first >= 0 &&
           static_cast<uint64_t>(range.first) == offset && range.last == length - 1;
}

bool HasRoomFor(uint64_t free_bytes, uint64_t length) noexcept {
    return free_bytes >= length && free_bytes - length >= kFreeSpaceMarginBytes;
}
