// Filling "%s" in texts from editable string files.
#include "engine/TextPlaceholder.h"

#include <gtest/gtest.h>

TEST(TextPlaceholder, OnlyTheFirstPlaceholderIsFilledAndNothingIsFormatted) {
    struct Case {
        const wchar_t* text;
        const wchar_t* filled;
    };
    const Case cases[] = {
        {L"%s is already installed.", L"Lumetra is already installed."},
        {L"No placeholder", L"No placeholder"},
        {L"%s and %s", L"Lumetra and %s"},
        {L"%d %n %x then %s", L"%d %n %x then Lumetra"},
        {L"", L""},
        {L"%", L"%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FillPlaceholder(c.text, L"Lumetra"), c.filled) << testing::PrintToString(c.text);
}
