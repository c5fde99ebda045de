#pragma once
// The UTF-16 surrogate pair of a code point above U+FFFF.
#include <cstdint>

namespace nvx {

constexpr uint32_t HighSurrogate(uint32_t code) noexcept {
    return 0xD800 + ((code - 0x10000) >> 10);
}

constexpr uint32_t LowSurrogate(uint32_t code) noexcept {
    return 0xDC00 + (code & 0x3FF);
}

} // namespace nvx
