#pragma once
// The element index of a document: one 32-byte entry per element in document order, entry 0
// standing for the document itself. Entries live in segments of 65536 so that growing a large
// index never moves the full segments; only the last, partly filled one is copied.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// Plain data, so that the index can allocate its segments without initialising them (a new entry
// is written whole when it is handed out); XmlElementEntry{} is an entry of zeros.
struct XmlElementEntry {
    int32_t start;        // offset of the "<" of the start tag
    int32_t length;       // through the end of the end tag (or of an empty-element tag)
    uint32_t tag_lengths; // start-tag length in the low 22 bits, end-tag length in the high 10
    uint32_t flags;       // nesting level in the low 16 bits, plus the kXmlEntry* flags
    int32_t parent;       // 0 for a top-level element
    int32_t first_child;  // 0 when none
    int32_t next_sibling; // 0 when none
    int32_t prev_sibling; // for a first child: the last child of the same parent
};
static_assert(sizeof(XmlElementEntry) == 32);

inline constexpr uint32_t kXmlLevelMask = 0xFFFF;
inline constexpr uint32_t kXmlEntryFirstChild = 0x80000;
inline constexpr uint32_t kXmlEntryUnended = 0x100000;
inline constexpr uint32_t kXmlEntryNotWellFormed = 0x800000; // entry 0 only
inline constexpr uint32_t kXmlStartTagLengthMask = 0x3FFFFF;
inline constexpr int kXmlTagLengthBits = 22;
inline constexpr uint32_t kXmlEndTagLengthMask = 0x3FF;

// Tag lengths too long for their bit fields (the field then holds its all-ones value), by index.
struct XmlLongTagLengths {
    std::unordered_map<int32_t, int32_t> start_tags;
    std::unordered_map<int32_t, int32_t> end_tags;
};

class CElementIndex {
public:
    static constexpr int kSegmentBits = 16;
    static constexpr int kSegmentSize = 1 << kSegmentBits;

    CElementIndex();

    // Drops every entry and sizes the index for `capacity` entries; entry 0 is cleared and the
    // next index handed out is 1.
    void Reset(int64_t capacity);
    // Hands out the next index (document order), growing the capacity by half when it is full.
    // Returns 0 when the index cannot grow any further (more than INT32_MAX entries).
    int32_t Add() {
        if (free_pos_ >= capacity_ && !Grow())
            return 0;
        int32_t index = free_pos_++;
        (*this)[index] = XmlElementEntry{};
        return index;
    }

    XmlElementEntry& operator[](int32_t index) noexcept {
        return segments_[static_cast<uint32_t>(index) >> kSegmentBits][index & (kSegmentSize - 1)];
    }
    const XmlElementEntry& operator[](int32_t index) const noexcept {
        return segments_[static_cast<uint32_t>(index) >> kSegmentBits][index & (kSegmentSize - 1)];
    }

    // Frees the capacity beyond the entries handed out (after a parse: the initial size is only a
    // guess from the text length). Only the last segment in use is copied, and only when shrinking
    // it saves much.
    void Trim();

    int32_t FreePos() const noexcept { return free_pos_; }
    int64_t Capacity() const noexcept { return capacity_; }
    // Bytes held by the entries (for memory measurements).
    size_t AllocatedBytes() const noexcept {
        return static_cast<size_t>(capacity_) * sizeof(XmlElementEntry);
    }

private:
    [[nodiscard]] bool Grow();
    void Allocate(int64_t capacity);

    std::vector<std::unique_ptr<XmlElementEntry[]>> segments_;
    int64_t capacity_ = 0;
    int32_t free_pos_ = 1;
};
