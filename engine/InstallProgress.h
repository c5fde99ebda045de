#pragma once
// The progress record the installation worker writes and the progress page reads once a
// second. State, step index and step percent are each one lock-free 32-bit atomic: a reader may
// combine fields of two successive updates, which the page tolerates. The weight lists are
// written while the plan is built, before the worker starts, and never change afterwards.
#include <atomic>
#include <cstdint>
#include <vector>

enum class InstallState : int32_t {
    Initializing = 0,
    Downloading = 2, // step_index counts downloaded steps
    Installing = 3,  // step_index is the index of the step being installed
    Cancelling = 4,
    Finished = 5,
    Failed = 6,
    Cancelled = 7,
};

// Finished, Failed and Cancelled end a sequence.
bool IsFinalState(InstallState state) noexcept;

class InstallProgress {
public:
    std::vector<uint32_t> download_weights; // one per downloaded step, summing to 100
    std::vector<uint32_t> install_weights;  // one per step, summing to 100
    std::atomic<int32_t> state{static_cast<int32_t>(InstallState::Initializing)};
    std::atomic<int32_t> step_index{0};
    std::atomic<int32_t> step_percent{0};
    std::atomic<uint32_t> start_tick{0}; // the progress page's first refresh; 0 until then

    InstallState State() const noexcept { return static_cast<InstallState>(state.load()); }

    // Publishes a new state with its step and percent. While cancelling (and once cancelled)
    // only Cancelled is taken; the check and the change are one atomic step, so a cancel on
    // the UI thread is never overwritten by a report of the worker that raced with it.
    void SetInstallState(InstallState new_state, int32_t index, int32_t percent) noexcept;

    // The cancel of the UI thread: Cancelling with index -1 and percent 0, unless the state is
    // Cancelling already or final. True when the state changed.
    bool BeginCancelling() noexcept;

    InstallProgress() = default;
    InstallProgress(const InstallProgress&) = delete;
    InstallProgress& operator=(const InstallProgress&) = delete;
};

static_assert(std::atomic<int32_t>::is_always_lock_free && sizeof(std::atomic<int32_t>) == 4,
              "the progress fields must be single 32-bit atomics");

// The process-wide record the progress page reads.
extern InstallProgress theInstallProgress;

// Scales the weights to sum 100: each but the last becomes w × 100 / sum (truncated), the last
// takes what is left. Empty stays empty; a list of zeros gives its last entry 100.
void NormalizeWeights(std::vector<uint32_t>& weights);

// The weights of the steps before `index` plus the share `percent` of the weight at `index`,
// capped at 100; 100 when `index` lies beyond the list.
float WeightedPercent(const std::vector<uint32_t>& weights, int32_t index, int32_t percent);

// One percent for the whole run: downloads fill the first half of the bar and installation the
// second, or installation all of it when nothing is downloaded.
float OverallPercent(const InstallProgress& progress);
