// What one refresh of the progress page shows.
#include "pages/ProgressText.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressText, PhaseProgressCountsTheCurrentPhaseOnly) {
    EXPECT_FLOAT_EQ(PhaseProgress(InstallState::Downloading, 25, true), 50);
    EXPECT_FLOAT_EQ(PhaseProgress(InstallState::Installing, 75, true), 50);
    EXPECT_FLOAT_EQ(PhaseProgress(InstallState::Installing, 30, false), 30);
    EXPECT_FLOAT_EQ(PhaseProgress(InstallState::Initializing, 0, true), 0);
    EXPECT_FLOAT_EQ(PhaseProgress(InstallState::Cancelling, 0, true), 0);
}

TEST(ProgressText, RemainingTimeFromElapsedAndShare) {
    EXPECT_EQ(EstimateRemainingMs(10000, 25), 30000u);
    EXPECT_EQ(EstimateRemainingMs(10000, 100), 0u);
    EXPECT_EQ(EstimateRemainingMs(3000, 50), 3000u);
}

TEST(ProgressText, TimeRemainingPicksItsUnit) {
    const struct {
        uint32_t ms;
        TimeRemaining::Unit unit;
        std::vector<int> values;
    } cases[] = {
        {3723000, TimeRemaining::Unit::Hours, {1, 2, 3}},
        {1000, TimeRemaining::Unit::Seconds, {1}},
        {999, TimeRemaining::Unit::Seconds, {0}},
        {61000, TimeRemaining::Unit::Minutes, {1, 1}},
        {3600000, TimeRemaining::Unit::Hours, {1, 0, 0}},
        {0xFFFFFFFFu, TimeRemaining::Unit::Hours, {1193, 2, 47}},
    };
    for (const auto& c : cases) {
        const TimeRemaining split = SplitTimeRemaining(c.ms);
        EXPECT_EQ(split.unit, c.unit) << c.ms;
        EXPECT_EQ(std::vector<int>(split.values, split.values + split.count), c.values) << c.ms;
    }
}

TEST(ProgressText, FormatsFromLanguageFilesFillOnlyTheirNumbers) {
    const int values[] = {1, 2, 3};
    const struct {
        const wchar_t* format;
        const wchar_t* expected;
    } cases[] = {
        {L"%02d hours %02d mins %02d secs remaining...", L"01 hours 02 mins 03 secs remaining..."},
        {L"%d:%d", L"1:2"},
        {L"noch %02d Sek. (%%)", L"noch 01 Sek. (%)"},
        {L"%s %n %x %d", L"%s %n %x 1"}, // what printf would read as pointers stays text
        {L"%d %d %d %d", L"1 2 3 %d"},   // more conversions than numbers
        {L"ends with %", L"ends with %"},
        {L"%5d|", L"    1|"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillNumbers(c.format, values, 3), c.expected)
            << testing::PrintToString(std::wstring(c.format));
}

TEST(ProgressText, PercentAndBar) {
    EXPECT_EQ(PercentText(37.5f), L"37.5%");
    EXPECT_EQ(BarPosition(37.5f), 375);
    EXPECT_EQ(PercentText(0), L"0.0%");
    EXPECT_EQ(BarPosition(0), 0);
    EXPECT_EQ(PercentText(100), L"100.0%");
    EXPECT_EQ(BarPosition(99.99f), 999);
}

} // namespace
