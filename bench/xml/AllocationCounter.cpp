#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<size_t> in_use{0};
std::atomic<size_t> peak{0};

void* Allocate(size_t size) {
    void* pointer = std::malloc(size == 0 ? 1 : size);
    if (pointer == nullptr)
        return nullptr;
    size_t now = in_use.fetch_add(malloc_usable_size(pointer)) + malloc_usable_size(pointer);
    size_t high = peak.load();
    while (now > high && !peak.compare_exchange_weak(high, now)) {
    }
    return pointer;
}

void Release(void* pointer) {
    if (pointer == nullptr)
        return;
    in_use.fetch_sub(malloc_usable_size(pointer));
    std::free(pointer);
}

} // namespace

size_t HeapBytesInUse() {
    return in_use.load();
}
size_t HeapPeakBytes() {
    return peak.load();
}
void ResetHeapPeak() {
    peak.store(in_use.load());
}

void* CountedMalloc(size_t size) {
    return Allocate(size);
}
void CountedFree(void* pointer) {
    Release(pointer);
}

void* operator new(size_t size) {
    if (void* pointer = Allocate(size))
        return pointer;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    return operator new(size);
}
void operator delete(void* pointer) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
    Release(pointer);
}
