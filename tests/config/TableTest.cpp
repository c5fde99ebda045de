// The table of owned strings that collects registry sub-key names.
#include "config/Table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Table, KeepsOwnCopiesAcrossGrowth) {
    Table<wchar_t, wchar_t*> table;
    // 32 fit at first, then the array grows by 64 at a time: cross both steps.
    const int kCount = 32 + 64 + 5;
    std::wstring source;
    for (int i = 0; i < kCount; ++i) {
        source = L"key" + std::to_wstring(i);
        table.Add(source);
        source.assign(source.size(), L'#'); // the table must not share the caller's text
    }
    ASSERT_EQ(table.Count(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i) {
        const wchar_t* item = table.Get(i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(std::wstring(item), L"key" + std::to_wstring(i));
    }
}

TEST(Table, AnswersNothingOutsideItsItems) {
    Table<wchar_t, wchar_t*> table;
    EXPECT_EQ(table.Get(0), nullptr);
    table.Add(L"1031");
    table.Add(L"");
    EXPECT_EQ(table.Get(-1), nullptr);
    EXPECT_EQ(table.Get(2), nullptr);
    EXPECT_EQ(table.Get(31), nullptr); // allocated but not filled
    ASSERT_NE(table.Get(1), nullptr);
    EXPECT_EQ(std::wstring(table.Get(1)), L"");
}

} // namespace
