#pragma once
// Searches of wide text for one character or either of two, several characters per step where
// the processor offers SSE2 (both builds run on x86-64). Markup is dense, so most searches end
// within a few characters: no library call, no setup beyond one comparison register.
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wide_search_detail {

// Characters compared one by one before the wide steps: the usual distance to the next markup.
constexpr size_t kShortScan = 8;

#if defined(__SSE2__)
constexpr size_t kStep = 16 / sizeof(wchar_t); // characters per comparison

inline __m128i Broadcast(wchar_t c) noexcept {
    if constexpr (sizeof(wchar_t) == 2)
        return _mm_set1_epi16(static_cast<short>(c));
    else
        return _mm_set1_epi32(static_cast<int>(c));
}

inline __m128i Equal(__m128i a, __m128i b) noexcept {
    if constexpr (sizeof(wchar_t) == 2)
        return _mm_cmpeq_epi16(a, b);
    else
        return _mm_cmpeq_epi32(a, b);
}

inline __m128i Load(const wchar_t* p) noexcept {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The character index of the lowest set lane in a byte mask.
inline size_t FirstLane(int mask) noexcept {
    return static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / sizeof(wchar_t);
}
#endif

} // namespace wide_search_detail

// The first `c` in data[from, n), or n when there is none.
inline size_t FindWideChar(const wchar_t* data, size_t from, size_t n, wchar_t c) noexcept {
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

// The first `a` or `b` in data[from, n), or n when there is neither.
inline size_t FindWideEither(const wchar_t* data, size_t from, size_t n, wchar_t a, wchar_t b) noexcept {
    using namespace wide_search_detail;
    size_t i = from;
    for (size_t stop = from + kShortScan < n ? from + kShortScan : n; i < stop; ++i) {
        if (data[i] == a || data[i] == b)
            return i;
    }
#if defined(__SSE2__)
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
