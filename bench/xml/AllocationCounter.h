#pragma once
// Counts the heap bytes in use (through the replaced global operator new and delete, and the
// allocation functions handed to pugixml) while a measurement is open, with its high-water mark.
// Outside a measurement allocations are not counted, so timed runs pay nothing for counting.
#include <cstddef>
#include <cstdint>

class CHeapMeasurement {
public:
    CHeapMeasurement();
    ~CHeapMeasurement();
    CHeapMeasurement(const CHeapMeasurement&) = delete;
    CHeapMeasurement& operator=(const CHeapMeasurement&) = delete;

    // Bytes allocated since the measurement began and not freed yet, and their high-water mark.
    int64_t BytesInUse() const;
    int64_t PeakBytes() const;
};

void* CountedMalloc(size_t size);
void CountedFree(void* pointer);
