#pragma once
// The table of character-set names (see CharsetTable.cpp for the layout).
inline constexpr int kCharsetBucketCount = 155;

extern const wchar_t* const kCharsetBuckets[kCharsetBucketCount];
