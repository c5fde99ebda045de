#include "xml/ElementIndex.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int64_t kMaxEntries = int64_t{1} << 31; // indexes are 32-bit and positive
constexpr int64_t kTrimSlack = 1024;              // unused entries not worth a copy
} // namespace

CElementIndex::CElementIndex() {
    Reset(1);
}

void CElementIndex::Reset(int64_t capacity) {
    segments_.clear();
    capacity_ = 0;
    Allocate(std::clamp<int64_t>(capacity, 1, kMaxEntries));
    segments_[0][0] = XmlElementEntry{};
    free_pos_ = 1;
}

bool CElementIndex::Grow() {
    if (capacity_ >= kMaxEntries)
        return false;
    // By half, but never past the end of the next segment, so a step allocates at most one segment.
    int64_t wanted = capacity_ + std::max<int64_t>(capacity_ / 2, 1);
    int64_t segment_end = (capacity_ / kSegmentSize + 1) * kSegmentSize;
    Allocate(std::min({wanted, segment_end, kMaxEntries}));
    return true;
}

void CElementIndex::Allocate(int64_t capacity) {
    while (capacity_ < capacity) {
        int64_t used_in_last = capacity_ % kSegmentSize;
        int64_t segment_start = capacity_ - used_in_last;
        int64_t new_size = std::min<int64_t>(capacity - segment_start, kSegmentSize);
        auto segment = std::make_unique_for_overwrite<XmlElementEntry[]>(static_cast<size_t>(new_size));
        if (used_in_last != 0) {
            // The last segment was partly allocated: copy its entries into the larger one.
            std::memcpy(segment.get(), segments_.back().get(),
                        static_cast<size_t>(used_in_last) * sizeof(XmlElementEntry));
            segments_.back() = std::move(segment);
        } else {
            segments_.push_back(std::move(segment));
        }
        capacity_ = segment_start + new_size;
    }
}

void CElementIndex::Trim() {
    int64_t used = free_pos_;
    auto keep = static_cast<size_t>((used + kSegmentSize - 1) / kSegmentSize);
    segments_.resize(keep);
    int64_t last_start = static_cast<int64_t>(keep - 1) * kSegmentSize;
    int64_t last_capacity = std::min<int64_t>(capacity_ - last_start, kSegmentSize);
    int64_t last_used = used - last_start;
    if (last_capacity - last_used > kTrimSlack) {
        auto segment = std::make_unique_for_overwrite<XmlElementEntry[]>(static_cast<size_t>(last_used));
        std::memcpy(segment.get(), segments_.back().get(),
                    static_cast<size_t>(last_used) * sizeof(XmlElementEntry));
        segments_.back() = std::move(segment);
        last_capacity = last_used;
    }
    capacity_ = last_start + last_capacity;
}
