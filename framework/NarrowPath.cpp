#include "framework/NarrowPath.h"

#include <cstdint>

std::string NarrowPath(const std::wstring& path) {
    std::string narrow;
    for (size_t i = 0; i < path.size(); ++i) {
        auto c = static_cast<uint32_t>(path[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < path.size()) {
            auto low = static_cast<uint32_t>(path[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c < 0x80) {
            narrow += static_cast<char>(c);
        } else if (c < 0x800) {
            narrow += static_cast<char>(0xC0 | (c >> 6));
            narrow += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            narrow += static_cast<char>(0xE0 | (c >> 12));
            narrow += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            narrow += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            narrow += static_cast<char>(0xF0 | (c >> 18));
            narrow += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            narrow += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            narrow += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return narrow;
}
