#include "xml/ElementIndex.h"

CElementIndex::CElementIndex() { Reset(1); }
void CElementIndex::Reset(int64_t) {
    segments_.clear();
    segments_.push_back(std::make_unique<XmlElementEntry[]>(kSegmentSize));
    capacity_ = kSegmentSize;
    free_pos_ = 1;
}
int32_t CElementIndex::Add() { return 0; }
