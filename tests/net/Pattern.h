#pragma once
// The bytes every test server sends: the byte at offset i is i % 251 (a period that does not
// line up with any read or batch size, so a misplaced piece shows).
#include <cstddef>
#include <cstdint>

namespace nettest {

inline uint8_t PatternByte(uint64_t offset) {
    return static_cast<uint8_t>(offset % 251);
}

// True when `data` holds the pattern's bytes [offset, offset + size).
inline bool MatchesPattern(const void* data, size_t size, uint64_t offset = 0) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] != PatternByte(offset + i))
            return false;
    return true;
}

} // namespace nettest
