// The stored tables of character-set names and named references: every entry is well formed,
// sits in the bucket its name hashes to, and is found through the look-up.
#include "xml/CharsetTable.h"
#include "xml/EntityTable.h"
#include "xml/References.h"
#include "xml/TextFile.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

namespace {

unsigned NameSum(std::wstring_view name) {
    unsigned sum = 0;
    for (wchar_t c : name)
        sum += static_cast<unsigned>(c);
    return sum;
}

int Digits(std::wstring_view digits) {
    int value = 0;
    for (wchar_t c : digits) {
        EXPECT_TRUE(c >= L'0' && c <= L'9');
        value = value * 10 + (c - L'0');
    }
    return value;
}

TEST(CharsetTable, EveryNameIsFoundInItsBucket) {
    std::set<std::wstring> names;
    for (int bucket = 0; bucket < kCharsetBucketCount; ++bucket) {
        std::wstring_view entries = kCharsetBuckets[bucket];
        size_t at = 0;
        while (at < entries.size()) {
            ASSERT_LE(at + 7, entries.size());
            auto length = static_cast<size_t>(Digits(entries.substr(at, 2)));
            int code_page = Digits(entries.substr(at + 2, 5));
            ASSERT_LE(at + 7 + length, entries.size());
            std::wstring name(entries.substr(at + 7, length));
            EXPECT_EQ(NameSum(name) % kCharsetBucketCount, static_cast<unsigned>(bucket)) << name.size();
            EXPECT_TRUE(names.insert(name).second) << "names are unique";
            for (wchar_t c : name)
                EXPECT_FALSE(c >= L'A' && c <= L'Z') << "stored in lower case";
            if (!name.starts_with(L"UTF-32")) {
                EXPECT_EQ(CodePageFromName(name), code_page);
            }
            std::wstring upper = name;
            for (wchar_t& c : upper)
                c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
            if (!upper.starts_with(L"UTF-32")) {
                EXPECT_EQ(CodePageFromName(upper), code_page) << "any letter case";
            }
            at += 7 + length;
        }
    }
}

TEST(EntityTable, EveryNameIsFoundInItsBucket) {
    std::set<int> code_points;
    for (int bucket = 0; bucket < kEntityBucketCount; ++bucket) {
        std::wstring_view entries = kEntityBuckets[bucket];
        size_t at = 0;
        while (at < entries.size()) {
            ASSERT_LE(at + 5, entries.size());
            auto length = static_cast<size_t>(Digits(entries.substr(at, 1)));
            int code_point = Digits(entries.substr(at + 1, 4));
            ASSERT_LE(at + 5 + length, entries.size());
            std::wstring_view name = entries.substr(at + 5, length);
            EXPECT_EQ(NameSum(name) % kEntityBucketCount, static_cast<unsigned>(bucket));
            EXPECT_TRUE(code_points.insert(code_point).second) << "one name per character";
            // A name spelled in two cases resolves by its spelling; the all-lower spelling is
            // either the only one or the lower-case member of the pair.
            int found = NamedReferenceCodePoint(name);
            bool mixed_member = false;
            for (const MixedCaseEntity& entity : kMixedCaseEntities)
                mixed_member = mixed_member || entity.code_point == code_point;
            if (mixed_member) {
                EXPECT_NE(found, code_point);
            } else {
                EXPECT_EQ(found, code_point);
            }
            at += 5 + length;
        }
    }
    for (const MixedCaseEntity& entity : kMixedCaseEntities)
        EXPECT_EQ(NamedReferenceCodePoint(entity.spelling), entity.code_point);
}

} // namespace
