#pragma once
// The table of named character references (see EntityTable.cpp for the layout).
inline constexpr int kEntityBucketCount = 130;
inline constexpr int kMixedCaseEntityCount = 64;

struct MixedCaseEntity {
    int code_point;
    const wchar_t* spelling;
};

extern const wchar_t* const kEntityBuckets[kEntityBucketCount];
extern const MixedCaseEntity kMixedCaseEntities[kMixedCaseEntityCount];
