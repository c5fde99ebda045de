#include "framework/TextCompare.h"

#include <gtest/gtest.h>

TEST(TextCompare, TrimsOnlyTheGivenBlanks) {
    struct Case {
        std::wstring_view text;
        std::wstring_view blanks;
        std::wstring_view expected;
    } cases[] = {
        {L" \tname = value\t ", kSpaceAndTab, L"name = value"},
        {L"\r\nvalue\r\n", kSpaceAndTab, L"\r\nvalue\r\n"}, // a string file's line ends are not blanks
        {L"\r\n value \v\f", kCWhiteSpace, L"value"},
        {L" \t ", kSpaceAndTab, L""},
        {L"", kCWhiteSpace, L""},
        {L"a b", kCWhiteSpace, L"a b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrimmedOf(c.text, c.blanks), c.expected) << testing::PrintToString(std::wstring(c.text));
}

TEST(TextCompare, AsciiComparisonLeavesOtherLettersAlone) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase(L"TRUE", L"true"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(L"true", L"tru"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(L"\u00C4", L"\u00E4"));
    // A letter beyond ASCII must not fold onto an ASCII one ('K' and the Kelvin sign).
    EXPECT_FALSE(EqualsIgnoringAsciiCase(L"k", L"\u212A"));
    EXPECT_TRUE(EqualsIgnoringCase(L"Section", L"SECTION"));
    EXPECT_FALSE(EqualsIgnoringCase(L"Section", L"Sections"));
}
