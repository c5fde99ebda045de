#include "xml/Utf8.h"

#include "framework/Surrogates.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr XmlChar kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Decodes one sequence starting with a byte >= 0x80 at bytes[i]; returns the bytes consumed and
// writes one or two units. An ill-formed sequence consumes its maximal valid prefix (at least
// one byte) and yields U+FFFD.
size_t DecodeSequence(const unsigned char* p, size_t left, XmlChar* units, size_t& unit_count) {
    unsigned char lead = p[0];
    size_t need = 0;
    uint32_t value = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        units[0] = kReplacement;
        unit_count = 1;
        return 1;
    }
    size_t used = 1;
    for (size_t k = 0; k < need; ++k) {
        if (used >= left) {
            units[0] = kReplacement;
            unit_count = 1;
            return used;
        }
        unsigned char c = p[used];
        bool valid = k == 0 ? (c >= low && c <= high) : IsContinuation(c);
        if (!valid) {
            units[0] = kReplacement;
            unit_count = 1;
            return used;
        }
        value = (value << 6) | (c & 0x3F);
        ++used;
    }
    if (value >= 0x10000) {
        units[0] = static_cast<XmlChar>(nvx::HighSurrogate(value));
        units[1] = static_cast<XmlChar>(nvx::LowSurrogate(value));
        unit_count = 2;
    } else {
        units[0] = static_cast<XmlChar>(value);
        unit_count = 1;
    }
    return used;
}

constexpr size_t kBlock = 16;

// True when the 16 bytes at p are all ASCII (and, with `no_zero`, none of them is 0).
bool AsciiBlock(const unsigned char* p, bool no_zero) {
#if defined(__SSE2__)
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    int mask = _mm_movemask_epi8(bytes);
    if (no_zero)
        mask |= _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128()));
    return mask == 0;
#else
    uint64_t words[2];
    std::memcpy(words, p, sizeof(words));
    uint64_t high = (words[0] | words[1]) & 0x8080808080808080ull;
    if (no_zero) {
        for (uint64_t word : words)
            high |= (word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull;
    }
    return high == 0;
#endif
}

// Widens the ASCII bytes at p, 16 at a time, into d; stops before the first block that holds a
// byte of 0x80 or above. Returns the bytes (and units) done.
size_t WidenAsciiBlocks(const unsigned char* p, size_t n, XmlChar* d) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + kBlock <= n; i += kBlock) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (_mm_movemask_epi8(bytes) != 0)
            break;
        __m128i low = _mm_unpacklo_epi8(bytes, zero);
        __m128i high = _mm_unpackhi_epi8(bytes, zero);
        auto* out = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(out, low);
        _mm_storeu_si128(out + 1, high);
    }
#else
    for (; i + kBlock <= n && AsciiBlock(p + i, false); i += kBlock) {
        for (size_t k = 0; k < kBlock; ++k)
            d[i + k] = static_cast<XmlChar>(p[i + k]);
    }
#endif
    return i;
}

// Decodes at least `count` bytes (less only at the end; a sequence may run past them) into d.
// Returns the units written; `i` moves past the bytes read.
size_t DecodeSpan(const unsigned char* p, size_t n, size_t& i, size_t count, XmlChar* d) {
    XmlChar* start = d;
    size_t stop = std::min(n, i + count);
    while (i < stop) {
        size_t ascii = WidenAsciiBlocks(p + i, stop - i, d);
        i += ascii;
        d += ascii;
        // Byte by byte up to the next block boundary (or past a sequence), then blocks again.
        size_t scalar_stop = std::min(stop, i + kBlock);
        while (i < scalar_stop) {
            if (p[i] < 0x80) {
                *d++ = static_cast<XmlChar>(p[i++]);
            } else {
                size_t produced = 0;
                i += DecodeSequence(p + i, n - i, d, produced);
                d += produced;
            }
        }
    }
    return static_cast<size_t>(d - start);
}

} // namespace

bool PassesUtf8Test(std::string_view bytes) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        if (i + kBlock <= n && AsciiBlock(p + i, true)) {
            i += kBlock;
            continue;
        }
        unsigned char c = p[i++];
        if (c == 0)
            return true;
        if (c < 0x80)
            continue;
        size_t followers;
        if (!(c & 0x20))
            followers = 1;
        else if (!(c & 0x10))
            followers = 2;
        else if (!(c & 0x08))
            followers = 3;
        else
            return false;
        for (size_t k = 0; k < followers; ++k) {
            if (i >= n || p[i] < 0x80)
                return false;
            ++i;
        }
    }
    return true;
}

void AppendUtf8AsUtf16(std::string_view bytes, XmlText& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    // Every byte gives at most one unit (four-byte sequences give two), so the text fits in n.
    out.reserve(out.size() + n);
    // Decoded piecewise through a buffer that stays in the cache: growing the string by the
    // whole length would first fill it with zeros, one more pass over a large text.
    constexpr size_t kPiece = 4096;
    XmlChar piece[kPiece + 4]; // a sequence that starts in the piece may end up to 3 bytes later
    size_t i = 0;
    while (i < n) {
        size_t units = DecodeSpan(p, n, i, kPiece, piece);
        out.append(piece, units);
    }
}
