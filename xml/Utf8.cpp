#include "xml/Utf8.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Decodes one sequence starting with a byte >= 0x80 at bytes[i]; returns the bytes consumed and
// writes one or two units. An ill-formed sequence consumes its maximal valid prefix (at least
// one byte) and yields U+FFFD.
size_t DecodeSequence(const unsigned char* p, size_t left, wchar_t* units, size_t& unit_count) {
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
        value -= 0x10000;
        units[0] = static_cast<wchar_t>(0xD800 + (value >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
        unit_count = 2;
    } else {
        units[0] = static_cast<wchar_t>(value);
        unit_count = 1;
    }
    return used;
}

bool AllAscii8(const unsigned char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof(word));
    return (word & 0x8080808080808080ull) == 0;
}

} // namespace

bool PassesUtf8Test(std::string_view bytes) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
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

void AppendUtf8AsUtf16(std::string_view bytes, std::wstring& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    // Every byte gives at most one unit (four-byte sequences give two), so the text fits in n.
    size_t old_size = out.size();
    out.resize(old_size + n);
    wchar_t* d = out.data() + old_size;
    size_t i = 0;
    while (i < n) {
        if (i + 8 <= n && AllAscii8(p + i)) {
            for (size_t k = 0; k < 8; ++k)
                d[k] = static_cast<wchar_t>(p[i + k]);
            d += 8;
            i += 8;
            continue;
        }
        if (p[i] < 0x80) {
            *d++ = static_cast<wchar_t>(p[i++]);
            continue;
        }
        size_t produced = 0;
        i += DecodeSequence(p + i, n - i, d, produced);
        d += produced;
    }
    out.resize(static_cast<size_t>(d - out.data()));
}
