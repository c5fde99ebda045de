#pragma once
// A growable array of owned, NUL-terminated strings (used for registry sub-key names).
// Adding stores a fresh copy; when the array is full it is replaced by one with room for
// kGrowth more pointers. Get answers nothing for an index outside 0..Count()-1.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

template <typename Char, typename Pointer> class Table {
public:
    using FreeFunction = void (*)(Pointer);

    Table() : items_(std::make_unique<Pointer[]>(kInitialCapacity)) {}
    virtual ~Table() {
        if (owns_items_ && free_item_)
            for (size_t i = 0; i < count_; ++i)
                free_item_(items_[i]);
    }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    void Add(std::basic_string_view<Char> text) {
        auto copy = std::make_unique<Char[]>(text.size() + 1);
        std::memcpy(copy.get(), text.data(), text.size() * sizeof(Char));
        if (count_ > highest_index_)
            Grow();
        items_[count_++] = copy.release();
    }

    Pointer Get(ptrdiff_t index) const noexcept {
        if (index < 0 || static_cast<size_t>(index) >= count_)
            return nullptr;
        return items_[static_cast<size_t>(index)];
    }

    size_t Count() const noexcept { return count_; }

private:
    static constexpr size_t kInitialCapacity = 32;
    static constexpr size_t kGrowth = 64;

    static void FreeCopy(Pointer item) { delete[] item; }

    void Grow() {
        size_t capacity = highest_index_ + 1 + growth_;
        auto grown = std::make_unique<Pointer[]>(capacity);
        for (size_t i = 0; i < count_; ++i)
            grown[i] = items_[i];
        items_ = std::move(grown);
        highest_index_ = capacity - 1;
    }

    std::unique_ptr<Pointer[]> items_;
    size_t count_ = 0;
    size_t highest_index_ = kInitialCapacity - 1;
    bool owns_items_ = true;
    size_t growth_ = kGrowth;
    FreeFunction free_item_ = &FreeCopy;
};
