#pragma once
// Searches of the document text, eight 16-bit units per step where the processor offers SSE2
// (both builds run on x86-64), one by one elsewhere.
#include "xml/XmlText.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wide_search_detail {

// Characters compared one by one before the wide steps where the wanted one is usually near.
constexpr size_t kShortScan = 8;

#if defined(__SSE2__)
constexpr size_t kStep = 8; // units per comparison

inline __m128i Broadcast(XmlChar c) noexcept {
    return _mm_set1_epi16(static_cast<short>(c));
}

inline __m128i Load(const XmlChar* p) noexcept {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The unit index of the lowest set lane in a byte mask.
inline size_t FirstLane(int mask) noexcept {
    return static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
}
#endif

} // namespace wide_search_detail

// The first `c` in data[from, n), or n when there is none. Meant for markup, where the next
// character looked for is usually a few away: those are compared one by one first.
inline size_t FindWideChar(const XmlChar* data, size_t from, size_t n, XmlChar c) noexcept {
    using namespace wide_search_detail;
    size_t i = from;
    for (size_t stop = from + kShortScan < n ? from + kShortScan : n; i < stop; ++i) {
        if (data[i] == c)
            return i;
    }
#if defined(__SSE2__)
    const __m128i wanted = Broadcast(c);
    for (; i + kStep <= n; i += kStep) {
        int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(Load(data + i), wanted));
        if (mask != 0)
            return i + FirstLane(mask);
    }
#endif
    for (; i < n; ++i) {
        if (data[i] == c)
            return i;
    }
    return n;
}

// The first `a` or `b` in data[from, n), or n when there is neither. Meant for whole contents,
// which mostly hold neither: wide steps first, the rest one by one.
inline size_t FindWideEither(const XmlChar* data, size_t from, size_t n, XmlChar a, XmlChar b) noexcept {
    size_t i = from;
#if defined(__SSE2__)
    using namespace wide_search_detail;
    const __m128i first = Broadcast(a);
    const __m128i second = Broadcast(b);
    for (; i + kStep <= n; i += kStep) {
        __m128i units = Load(data + i);
        int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, first), _mm_cmpeq_epi16(units, second)));
        if (mask != 0)
            return i + FirstLane(mask);
    }
#endif
    for (; i < n; ++i) {
        if (data[i] == a || data[i] == b)
            return i;
    }
    return n;
}

// True when the `length` units at `a` and at `b` are the same. Four units are compared at a time;
// `limit` is the end of what may be read at either place (a last short group is read whole when
// that stays before it).
inline bool SameUnits(const XmlChar* a, const XmlChar* b, size_t length, const XmlChar* limit) noexcept {
    size_t k = 0;
    for (; k + 4 <= length; k += 4) {
        uint64_t x, y;
        std::memcpy(&x, a + k, sizeof(x));
        std::memcpy(&y, b + k, sizeof(y));
        if (x != y)
            return false;
    }
    if (k == length)
        return true;
    if (std::endian::native == std::endian::little && a + k + 4 <= limit && b + k + 4 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, a + k, sizeof(x));
        std::memcpy(&y, b + k, sizeof(y));
        uint64_t wanted = (uint64_t{1} << (16 * (length - k))) - 1; // the first units: the low bits
        return ((x ^ y) & wanted) == 0;
    }
    for (; k < length; ++k) {
        if (a[k] != b[k])
            return false;
    }
    return true;
}

// The first `c` at or after `from`, or npos: the text's own find, in the steps above.
inline size_t FindInText(XmlTextView text, XmlChar c, size_t from = 0) noexcept {
    size_t at = FindWideChar(text.data(), from, text.size(), c);
    return at < text.size() ? at : XmlTextView::npos;
}
