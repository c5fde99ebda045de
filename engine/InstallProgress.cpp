#include "engine/InstallProgress.h"

#include <algorithm>

InstallProgress theInstallProgress;

bool IsFinalState(InstallState state) noexcept {
    return state == InstallState::Finished || state == InstallState::Failed ||
           state == InstallState::Cancelled;
}

void InstallProgress::SetInstallState(InstallState new_state, int32_t index, int32_t percent) noexcept {
    int32_t current = state.load();
    for (;;) {
        auto current_state = static_cast<InstallState>(current);
        bool winding_down =
            current_state == InstallState::Cancelling || current_state == InstallState::Cancelled;
        if (winding_down && new_state != InstallState::Cancelled)
            return;
        if (state.compare_exchange_weak(current, static_cast<int32_t>(new_state)))
            break;
    }
    step_index.store(index);
    step_percent.store(percent);
}

bool InstallProgress::BeginCancelling() noexcept {
    int32_t current = state.load();
    for (;;) {
        auto current_state = static_cast<InstallState>(current);
        if (current_state == InstallState::Cancelling || IsFinalState(current_state))
            return false;
        if (state.compare_exchange_weak(current, static_cast<int32_t>(InstallState::Cancelling)))
            break;
    }
    step_index.store(-1);
    step_percent.store(0);
    return true;
}

void NormalizeWeights(std::vector<uint32_t>& weights) {
    if (weights.empty())
        return;
    uint64_t sum = 0;
    for (uint32_t weight : weights)
        sum += weight;
    uint32_t total = 0;
    for (size_t i = 0; i + 1 < weights.size(); ++i) {
        weights[i] = sum == 0 ? 0 : static_cast<uint32_t>(uint64_t{weights[i]} * 100 / sum);
        total += weights[i];
    }
    weights.back() = 100 - total;
}

float WeightedPercent(const std::vector<uint32_t>& weights, int32_t index, int32_t percent) {
    auto position = static_cast<uint32_t>(index);
    if (position >= weights.size())
        return 100.0f;
    float result = 0.0f;
    for (uint32_t i = 0; i < position; ++i)
        result += static_cast<float>(weights[i]);
    result += static_cast<float>(weights[position]) * static_cast<float>(percent) / 100.0f;
    return std::min(result, 100.0f);
}

float OverallPercent(const InstallProgress& progress) {
    switch (progress.State()) {
    case InstallState::Downloading:
        if (progress.download_weights.empty())
            return 0.0f;
        // Downloads take the first half of the bar, or all of it when nothing is installed after.
        return (progress.install_weights.empty() ? 1.0f : 0.5f) *
               WeightedPercent(progress.download_weights, progress.step_index, progress.step_percent);
    case InstallState::Installing: {
        if (progress.install_weights.empty())
            return 0.0f;
        float installed =
            WeightedPercent(progress.install_weights, progress.step_index, progress.step_percent);
        return progress.download_weights.empty() ? installed : 50.0f + 0.5f * installed;
    }
    case InstallState::Finished:
        return 100.0f;
    default:
        return 0.0f;
    }
}
