// What one refresh of the progress page shows.
#include "pages/ProgressText.h"

#include <gtest/gtest.h>

#include <vector>

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
    // Beyond 32 bits: the longest time, not whatever the low bits say.
    EXPECT_EQ(EstimateRemainingMs(100000000, 1), 0xFFFFFFFFu);
    EXPECT_EQ(EstimateRemainingMs(0xFFFFFFFFu, 1e-30f), 0xFFFFFFFFu);
    // Single precision rounds 16 777 217 ms down: all done is 0 left, not 49 days.
    EXPECT_EQ(EstimateRemainingMs(16777217, 100), 0u);
}

TEST(ProgressText, TimeTextOfARefresh) {
    const struct {
        bool first;
        float phase;
        uint32_t elapsed;
        std::optional<uint32_t> shown;
    } cases[] = {
        {true, 10, 0, 1000u},           // first refresh with progress: one second
        {true, 0, 0, std::nullopt},     // first refresh without: still calculating
        {false, 0, 5000, std::nullopt}, // nothing progressed in this phase
        {false, -4, 5000, std::nullopt},
        {false, 25, 10000, 30000u},
        {false, 100, 10000, 1000u}, // nothing left: one second, never zero
        // The tick counter wrapped between the start and now: 32-bit difference.
        {false, 50, 0x00000010u - 0xFFFFFFF0u, 0x20u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeToShow(c.first, c.phase, c.elapsed), c.shown) << c.phase << " " << c.elapsed;
}

TEST(ProgressText, EveryStateHasItsText) {
    const struct {
        InstallState state;
        const wchar_t* key;
    } cases[] = {
        {InstallState::Initializing, L"IDS_STATUS_INIT"},
        {InstallState::Downloading, L"IDS_STATUS_DOWNLOADING"},
        {InstallState::Installing, L"IDS_STATUS_INSTALLING"},
        {InstallState::Cancelling, L"IDS_STATUS_CANCELLING"},
        {InstallState::Finished, L"IDS_STATUS_FINISHED"},
        {InstallState::Failed, L"IDS_STATUS_INSTALL_FAILED"},
        {InstallState::Cancelled, L"IDS_STATUS_CANCELLED"},
        {static_cast<InstallState>(1), L"IDS_STATUS_INIT"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(StateText(c.state).key), c.key) << static_cast<int>(c.state);
}

TEST(ProgressText, CancellingShowsNothingDone) {
    InstallProgress progress;
    progress.download_weights = {60, 40};
    progress.install_weights = {100};
    progress.SetInstallState(InstallState::Downloading, 1, 50);
    ASSERT_TRUE(progress.BeginCancelling());
    const float percent = OverallPercent(progress);
    EXPECT_EQ(std::wstring(StateText(progress.State()).key), L"IDS_STATUS_CANCELLING");
    EXPECT_EQ(PercentText(percent), L"0.0%");
    EXPECT_EQ(BarPosition(percent), 0);
    EXPECT_FALSE(TimeToShow(false, PhaseProgress(progress.State(), percent, true), 5000));
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
