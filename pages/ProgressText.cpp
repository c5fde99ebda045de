#include "pages/ProgressText.h"

#include <cstdio>
#include <limits>

const UIStringEntry& StateText(InstallState state) {
    switch (state) {
    case InstallState::Downloading:
        return ui::kStatusDownloading;
    case InstallState::Installing:
        return ui::kStatusInstalling;
    case InstallState::Cancelling:
        return ui::kStatusCancelling;
    case InstallState::Finished:
        return ui::kStatusFinished;
    case InstallState::Failed:
        return ui::kStatusInstallFailed;
    case InstallState::Cancelled:
        return ui::kStatusCancelled;
    default:
        return ui::kStatusInit;
    }
}

float PhaseProgress(InstallState state, float overall_percent, bool has_downloads) {
    if (state == InstallState::Downloading)
        return 2 * overall_percent;
    if (state == InstallState::Installing && has_downloads)
        return 2 * (overall_percent - 50);
    return overall_percent;
}

uint32_t EstimateRemainingMs(uint32_t elapsed_ms, float phase_percent) {
    const float total = static_cast<float>(elapsed_ms) / (phase_percent / 100.0f);
    // A share close to zero gives a total beyond any integer; converting that would be undefined.
    constexpr float kLargest = static_cast<float>(std::numeric_limits<int64_t>::max() / 2);
    const auto estimated = total < kLargest ? static_cast<int64_t>(total) : static_cast<int64_t>(kLargest);
    const int64_t remaining = estimated - static_cast<int64_t>(elapsed_ms);
    // Single precision rounds a long elapsed time: at the end of a phase the estimate may fall
    // short of it. Neither that nor an estimate beyond the 32-bit range may wrap into a
    // plausible-looking time.
    if (remaining <= 0)
        return 0;
    return remaining < int64_t{UINT32_MAX} ? static_cast<uint32_t>(remaining) : UINT32_MAX;
}

std::optional<uint32_t> TimeToShow(bool first_refresh, float phase_percent, uint32_t elapsed_ms) {
    if (!(phase_percent > 0))
        return std::nullopt;
    if (first_refresh)
        return 1000u;
    const uint32_t remaining = EstimateRemainingMs(elapsed_ms, phase_percent);
    return remaining == 0 ? 1000u : remaining;
}

TimeRemaining SplitTimeRemaining(uint32_t ms) {
    const int hours = static_cast<int>(ms / 3600000u);
    const int seconds = static_cast<int>((ms / 1000u) % 3600u);
    if (hours > 0)
        return {TimeRemaining::Unit::Hours, {hours, seconds / 60, seconds % 60}, 3};
    if (seconds / 60 > 0)
        return {TimeRemaining::Unit::Minutes, {seconds / 60, seconds % 60, 0}, 2};
    return {TimeRemaining::Unit::Seconds, {seconds % 60, 0, 0}, 1};
}

std::wstring FillNumbers(const std::wstring& format, const int* values, int count) {
    std::wstring out;
    int next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool zero = false;
        if (j < format.size() && format[j] == L'0') {
            zero = true;
            ++j;
        }
        int width = 0;
        while (j < format.size() && format[j] >= L'0' && format[j] <= L'9' && width < 100)
            width = width * 10 + (format[j++] - L'0');
        if (j < format.size() && format[j] == L'd' && next < count) {
            std::wstring digits = std::to_wstring(values[next] < 0 ? -static_cast<long long>(values[next])
                                                                   : static_cast<long long>(values[next]));
            const bool negative = values[next] < 0;
            ++next;
            const std::size_t wanted = static_cast<std::size_t>(width);
            std::size_t length = digits.size() + (negative ? 1 : 0);
            std::wstring padding = length < wanted ? std::wstring(wanted - length, zero ? L'0' : L' ') : L"";
            out += zero ? (negative ? L"-" : L"") + padding + digits
                        : padding + (negative ? L"-" : L"") + digits;
            i = j;
            continue;
        }
        out += L'%'; // not a number conversion: kept as it stands
    }
    return out;
}

int BarPosition(float percent) {
    return static_cast<int>(percent * 10.0f);
}

std::wstring PercentText(float percent) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.1f%%", static_cast<double>(percent));
    return text;
}
