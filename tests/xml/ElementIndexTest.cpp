// The segmented element index: growth by half, capped at the end of the next segment, without
// moving full segments.
#include "xml/ElementIndex.h"

#include <gtest/gtest.h>

namespace {

TEST(ElementIndex, HandsOutIndexesInOrderAndGrowsByHalf) {
    CElementIndex index;
    index.Reset(10);
    EXPECT_EQ(index.Capacity(), 10);
    std::vector<int64_t> capacities;
    for (int i = 1; i < 40; ++i) {
        ASSERT_EQ(index.Add(), i);
        index[i].start = i * 7;
        if (capacities.empty() || capacities.back() != index.Capacity())
            capacities.push_back(index.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int64_t>{10, 15, 22, 33, 49}));
    for (int i = 1; i < 40; ++i)
        EXPECT_EQ(index[i].start, i * 7) << "entries survive growth";
}

TEST(ElementIndex, GrowthStopsAtSegmentEndsAndKeepsFullSegmentsInPlace) {
    CElementIndex index;
    index.Reset(60000);
    const XmlElementEntry* first = nullptr;
    std::vector<int64_t> capacities;
    for (int i = 1; i < 200000; ++i) {
        ASSERT_EQ(index.Add(), i);
        index[i].parent = i;
        if (i == CElementIndex::kSegmentSize)
            first = &index[0];
        if (capacities.empty() || capacities.back() != index.Capacity())
            capacities.push_back(index.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int64_t>{60000, 65536, 98304, 131072, 196608, 262144}));
    EXPECT_EQ(first, &index[0]) << "the full first segment was not moved";
    for (int i = 1; i < 200000; ++i)
        ASSERT_EQ(index[i].parent, i);
}

TEST(ElementIndex, TrimFreesTheUnusedCapacityAndKeepsEntries) {
    CElementIndex index;
    index.Reset(1000000);
    for (int i = 1; i < 70000; ++i)
        index[index.Add()].start = i;
    index.Trim();
    EXPECT_EQ(index.Capacity(), 70000);
    EXPECT_EQ(index.AllocatedBytes(), 70000 * sizeof(XmlElementEntry));
    for (int i = 1; i < 70000; ++i)
        ASSERT_EQ(index[i].start, i);
    EXPECT_EQ(index.Add(), 70000) << "the index still grows after trimming";
    EXPECT_EQ(index.Capacity(), 70000 + 35000);
    EXPECT_EQ(index[69999].start, 69999);
}

TEST(ElementIndex, ResetClearsEntryZero) {
    CElementIndex index;
    index.Reset(4);
    index[0].first_child = 5;
    index[0].flags = kXmlEntryNotWellFormed;
    index.Add();
    index.Reset(4);
    EXPECT_EQ(index.FreePos(), 1);
    EXPECT_EQ(index[0].first_child, 0);
    EXPECT_EQ(index[0].flags, 0u);
}

} // namespace
