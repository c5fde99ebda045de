#pragma once
// Counts the heap bytes in use (through the replaced global operator new and delete, and the
// allocation functions handed to pugixml), with a high-water mark that can be reset.
#include <cstddef>

size_t HeapBytesInUse();
size_t HeapPeakBytes();
void ResetHeapPeak();

void* CountedMalloc(size_t size);
void CountedFree(void* pointer);
