#include "AllocationCounter.h"

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

// The benchmarks run on one thread; nothing else allocates while a measurement is open.
bool counting = false;
int64_t in_use = 0;
int64_t peak = 0;

void* Allocate(size_t size) {
    void* pointer = std::malloc(size == 0 ? 1 : size);
    if (pointer != nullptr && counting) {
        in_use += static_cast<int64_t>(malloc_usable_size(pointer));
        if (in_use > peak)
            peak = in_use;
    }
    return pointer;
}

void Release(void* pointer) {
    if (pointer != nullptr && counting)
        in_use -= static_cast<int64_t>(malloc_usable_size(pointer));
    std::free(pointer);
}

} // namespace

CHeapMeasurement::CHeapMeasurement() {
    in_use = 0;
    peak = 0;
    counting = true;
}

CHeapMeasurement::~CHeapMeasurement() {
    counting = false;
}

int64_t CHeapMeasurement::BytesInUse() const {
    return in_use;
}

int64_t CHeapMeasurement::PeakBytes() const {
    return peak;
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
