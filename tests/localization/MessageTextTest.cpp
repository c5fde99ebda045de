// Texts from the string files fill their "%s" without being taken as a printf format.
#include "localization/MessageText.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageText, FillsTheFirstPlaceholderAndKeepsEverythingElse) {
    const struct {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L"%s is already installed.", L"Lumetra is already installed."},
        {L"Start %s now? (%s)", L"Start Lumetra now? (%s)"},
        {L"%s and %s", L"Lumetra and %s"},
        {L"100%% sure: %s", L"100% sure: Lumetra"},
        {L"no placeholder", L"no placeholder"},
        {L"%d %n %x stay as text, %s goes in", L"%d %n %x stay as text, Lumetra goes in"},
        {L"ends in %", L"ends in %"},
        {L"%", L"%"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillPlaceholder(c.text, L"Lumetra"), c.expected) << testing::PrintToString(c.text);
}

TEST(MessageText, TheValueIsNeverReadForPlaceholders) {
    EXPECT_EQ(FillPlaceholder(L"%s!", L"50%s %%"), L"50%s %%!");
}

} // namespace
