#pragma once
// Searches of the document text for one character or either of two, several characters per step
// where the processor offers SSE2 (both builds run on x86-64). Markup is dense, so most searches
// end within a few characters: those are compared one by one, with no library call.
#include "xml/XmlText.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wide_search_detail {

// Characters compared one by one before the wide steps: the usual distance to the next markup.
constexpr size_t kShortScan = 8;

#if defined(__SSE2__)
constexpr size_t kStep = 16 / sizeof(XmlChar); // characters per comparison

inline __m128i Broadcast(XmlChar c) noexcept {
    if constexpr (sizeof(XmlChar) == 2)
        return _mm_set1_epi16(static_cast<short>(c));
    else
        return _mm_set1_epi32(static_cast<int>(c));
}

inline __m128i Equal(__m128i a, __m128i b) noexcept {
    if constexpr (sizeof(XmlChar) == 2)
        return _mm_cmpeq_epi16(a, b);
    else
        return _mm_cmpeq_epi32(a, b);
}

inline __m128i Load(const XmlChar* p) noexcept {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The character index of the lowest set lane in a byte mask.
inline size_t FirstLane(int mask) noexcept {
    return static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / sizeof(XmlChar);
}
#endif

} // namespace wide_search_detail

// The first `c` in data[from, n), or n when there is none.
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
        int mask = _mm_movemask_epi8(Equal(Load(data + i), wanted));
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
        __m128i chars = Load(data + i);
        int mask = _mm_movemask_epi8(_mm_or_si128(Equal(chars, first), Equal(chars, second)));
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

// The first `c` at or after `from`, or npos: the text's own find, in the steps above.
inline size_t FindInText(XmlTextView text, XmlChar c, size_t from = 0) noexcept {
    size_t at = FindWideChar(text.data(), from, text.size(), c);
    return at < text.size() ? at : XmlTextView::npos;
}
