// The progress record: weight normalisation, the percent of one phase and of the whole run,
// and which state changes the record takes.
#include "engine/InstallProgress.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Weights = std::vector<uint32_t>;

} // namespace

TEST(NormalizeWeights, ScalesToOneHundredWithTheRestOnTheLastStep) {
    struct Case {
        Weights weights;
        Weights expected;
    };
    const Case cases[] = {
        {{40, 40, 50, 5}, {29, 29, 37, 5}},
        {{40, 50, 5, 5}, {40, 50, 5, 5}},
        {{50}, {100}},
        {{50, 5}, {90, 10}},
        {{40, 40, 40, 50, 5, 5}, {22, 22, 22, 27, 2, 5}},
        {{}, {}},
        {{0, 0}, {0, 100}},
        // Weights far beyond the plan's do not overflow the products.
        {{4000000000u, 4000000000u}, {50, 50}},
    };
    for (const Case& c : cases) {
        Weights weights = c.weights;
        NormalizeWeights(weights);
        EXPECT_EQ(weights, c.expected) << testing::PrintToString(c.weights);
    }
}

TEST(WeightedPercent, AddsTheFinishedStepsAndTheShareOfTheCurrentOne) {
    struct Case {
        Weights weights;
        int32_t index;
        int32_t percent;
        float expected;
    };
    const Case cases[] = {
        {{29, 29, 37, 5}, 0, 0, 0.0f},
        {{29, 29, 37, 5}, 0, 50, 14.5f},
        {{29, 29, 37, 5}, 2, 0, 58.0f},
        {{29, 29, 37, 5}, 2, 100, 95.0f},
        {{29, 29, 37, 5}, 3, 100, 100.0f},
        {{29, 29, 37, 5}, 4, 0, 100.0f},   // past the last step
        {{29, 29, 37, 5}, -1, 0, 100.0f},  // -1 taken as unsigned is past the end too
        {{29, 29, 37, 5}, 3, 400, 100.0f}, // a package reporting more is capped
        {{}, 0, 0, 100.0f},
        {{100}, 0, 33, 33.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(WeightedPercent(c.weights, c.index, c.percent), c.expected)
            << testing::PrintToString(c.weights) << " index " << c.index << " percent " << c.percent;
    }
}

TEST(OverallPercent, DownloadsFillTheFirstHalfAndInstallationTheSecond) {
    struct Case {
        const char* name;
        Weights download;
        Weights install;
        InstallState state;
        int32_t index;
        int32_t percent;
        float expected;
    };
    const Case cases[] = {
        {"downloading the second of two", {50, 50}, {50, 50}, InstallState::Downloading, 1, 50, 37.5f},
        {"installing the first of two", {50, 50}, {50, 50}, InstallState::Installing, 0, 50, 62.5f},
        {"standalone: installation takes the whole bar", {}, {50, 50}, InstallState::Installing, 1, 0, 50.0f},
        {"downloading without download weights", {}, {100}, InstallState::Downloading, 0, 50, 0.0f},
        {"installing without install weights", {100}, {}, InstallState::Installing, 0, 50, 0.0f},
        {"finished", {50, 50}, {50, 50}, InstallState::Finished, -1, 0, 100.0f},
        {"initializing", {50, 50}, {50, 50}, InstallState::Initializing, 1, 50, 0.0f},
        {"cancelling drops to zero", {50, 50}, {50, 50}, InstallState::Cancelling, 1, 50, 0.0f},
        {"failed", {50, 50}, {50, 50}, InstallState::Failed, 1, 50, 0.0f},
        {"cancelled", {50, 50}, {50, 50}, InstallState::Cancelled, 1, 50, 0.0f},
    };
    for (const Case& c : cases) {
        InstallProgress progress;
        progress.download_weights = c.download;
        progress.install_weights = c.install;
        progress.state = static_cast<int32_t>(c.state);
        progress.step_index = c.index;
        progress.step_percent = c.percent;
        EXPECT_FLOAT_EQ(OverallPercent(progress), c.expected) << c.name;
    }
}

TEST(InstallProgressRecord, WhileCancellingOnlyCancelledIsTaken) {
    struct Case {
        InstallState from;
        InstallState to;
        bool taken;
    };
    const Case cases[] = {
        {InstallState::Initializing, InstallState::Downloading, true},
        {InstallState::Downloading, InstallState::Installing, true},
        {InstallState::Installing, InstallState::Finished, true},
        {InstallState::Installing, InstallState::Failed, true},
        {InstallState::Cancelling, InstallState::Installing, false},
        {InstallState::Cancelling, InstallState::Failed, false},
        {InstallState::Cancelling, InstallState::Finished, false},
        {InstallState::Cancelling, InstallState::Cancelled, true},
        {InstallState::Cancelled, InstallState::Failed, false},
    };
    for (const Case& c : cases) {
        InstallProgress progress;
        progress.state = static_cast<int32_t>(c.from);
        progress.step_index = 7;
        progress.step_percent = 8;
        progress.SetInstallState(c.to, 2, 40);
        InstallState expected = c.taken ? c.to : c.from;
        EXPECT_EQ(progress.State(), expected) << static_cast<int>(c.from) << " -> " << static_cast<int>(c.to);
        EXPECT_EQ(progress.step_index, c.taken ? 2 : 7);
        EXPECT_EQ(progress.step_percent, c.taken ? 40 : 8);
    }
}

TEST(InstallProgressRecord, CancellingStartsOnceAndNeverAfterTheEnd) {
    struct Case {
        InstallState from;
        bool begins;
    };
    const Case cases[] = {
        {InstallState::Initializing, true}, {InstallState::Downloading, true},
        {InstallState::Installing, true},   {InstallState::Cancelling, false},
        {InstallState::Finished, false},    {InstallState::Failed, false},
        {InstallState::Cancelled, false},
    };
    for (const Case& c : cases) {
        InstallProgress progress;
        progress.state = static_cast<int32_t>(c.from);
        progress.step_index = 3;
        progress.step_percent = 60;
        EXPECT_EQ(progress.BeginCancelling(), c.begins) << static_cast<int>(c.from);
        EXPECT_EQ(progress.State(), c.begins ? InstallState::Cancelling : c.from);
        EXPECT_EQ(progress.step_index, c.begins ? -1 : 3);
        EXPECT_EQ(progress.step_percent, c.begins ? 0 : 60);
    }
}
