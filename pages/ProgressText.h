#pragma once
// What the progress page shows for one reading of the progress record: the bar position, the
// percent text and the estimate of the time left. Plain arithmetic over the reading.
#include "engine/InstallProgress.h"
#include "localization/UIStrings.h"

#include <cstdint>
#include <optional>
#include <string>

// The status text of a state.
const UIStringEntry& StateText(InstallState state);

// The percent of the current phase: downloads alone fill 0-50 % of the whole, installation
// 50-100 % (or all of it when nothing is downloaded).
float PhaseProgress(InstallState state, float overall_percent, bool has_downloads);

// Milliseconds left when `elapsed_ms` gave `phase_percent` (> 0) of the phase; 32-bit tick
// arithmetic as the tick counter wraps. Never below 0, and the largest 32-bit value for an
// estimate beyond it.
uint32_t EstimateRemainingMs(uint32_t elapsed_ms, float phase_percent);

// The milliseconds the time text shows for a refresh, or nothing while the estimate is still
// being calculated (no progress in the phase yet). The first refresh has no elapsed time to
// go by and shows one second when something has progressed; an estimate of 0 shows one second
// too, so the text never counts down to zero while the installation still runs.
std::optional<uint32_t> TimeToShow(bool first_refresh, float phase_percent, uint32_t elapsed_ms);

// Which of the three remaining-time texts, filled with which numbers.
struct TimeRemaining {
    enum class Unit { Hours, Minutes, Seconds } unit;
    int values[3];
    int count;
};
TimeRemaining SplitTimeRemaining(uint32_t ms);

// Fills %d (with an optional zero-padded width, "%02d") in order with the values and "%%" with
// a percent sign; anything else is kept as text. The formats come from the language files, so
// they are never handed to printf.
std::wstring FillNumbers(const std::wstring& format, const int* values, int count);

// 0-1000 position of the bar for a percent (truncated toward zero).
int BarPosition(float percent);
// "37.5%".
std::wstring PercentText(float percent);
