#include "config/TextRules.h"

#include "framework/TextCompare.h"

#include <limits>

namespace {

bool IsCSpace(wchar_t c) noexcept {
    return kCWhiteSpace.find(c) != std::wstring_view::npos;
}

} // namespace

int32_t DecimalTextToInt(std::wstring_view text) noexcept {
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    // Accumulate as a negative number so that INT32_MIN itself is representable.
    constexpr int64_t kLimit = -static_cast<int64_t>(std::numeric_limits<int32_t>::min());
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > kLimit)
            magnitude = kLimit + 1; // saturated; further digits keep it there
    }
    if (negative)
        return magnitude >= kLimit ? std::numeric_limits<int32_t>::min() : static_cast<int32_t>(-magnitude);
    return magnitude > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                           : static_cast<int32_t>(magnitude);
}
