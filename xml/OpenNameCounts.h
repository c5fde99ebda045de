#pragma once
// How many open elements carry each name (by a 64-bit hash of the name), so that an end tag
// that matches no open element is told apart at once instead of by a walk down a deep stack.
#include "xml/XmlText.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class COpenNameCounts {
public:
    COpenNameCounts();
    void Add(uint64_t hash);
    void Remove(uint64_t hash);
    bool Contains(uint64_t hash) const;

private:
    struct Slot {
        uint64_t hash = 0;
        uint32_t count = 0; // 0: the slot is free
    };
    size_t Find(uint64_t hash) const;
    void Grow();

    std::vector<Slot> slots_;
    size_t used_ = 0;
};

// FNV-1a over the characters of a name.
inline uint64_t HashXmlName(const XmlChar* name, size_t length) noexcept {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < length; ++i) {
        hash ^= static_cast<uint32_t>(name[i]);
        hash *= 0x100000001b3ull;
    }
    return hash;
}
