#include "xml/OpenNameCounts.h"

namespace {
constexpr size_t kInitialSlots = 64; // a power of two
}

COpenNameCounts::COpenNameCounts() : slots_(kInitialSlots) {}

size_t COpenNameCounts::Find(uint64_t hash) const {
    size_t mask = slots_.size() - 1;
    size_t at = static_cast<size_t>(hash ^ (hash >> 29)) & mask;
    while (slots_[at].count != 0 && slots_[at].hash != hash)
        at = (at + 1) & mask;
    return at;
}

bool COpenNameCounts::Contains(uint64_t hash) const {
    return slots_[Find(hash)].count != 0;
}

void COpenNameCounts::Add(uint64_t hash) {
    Slot& slot = slots_[Find(hash)];
    if (slot.count == 0) {
        slot.hash = hash;
        ++used_;
    }
    ++slot.count;
    if (used_ * 2 > slots_.size())
        Grow();
}

void COpenNameCounts::Remove(uint64_t hash) {
    size_t mask = slots_.size() - 1;
    size_t at = Find(hash);
    if (slots_[at].count == 0 || --slots_[at].count != 0)
        return;
    --used_;
    // Backward-shift deletion keeps every probe sequence unbroken without tombstones.
    size_t hole = at;
    for (size_t next = (hole + 1) & mask; slots_[next].count != 0; next = (next + 1) & mask) {
        size_t home = static_cast<size_t>(slots_[next].hash ^ (slots_[next].hash >> 29)) & mask;
        bool movable = hole <= next ? (home <= hole || home > next) : (home <= hole && home > next);
        if (movable) {
            slots_[hole] = slots_[next];
            slots_[next] = Slot{};
            hole = next;
        }
    }
}

void COpenNameCounts::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.count != 0)
            slots_[Find(slot.hash)] = slot;
    }
}
