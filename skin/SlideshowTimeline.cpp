#include "skin/SlideshowTimeline.h"

#include <algorithm>

SlideFrame SlideFrameAt(double t, int picture_count, double transition_seconds, double hold_seconds) {
    SlideFrame frame;
    if (picture_count <= 0)
        return frame;
    const double period = transition_seconds + hold_seconds;
    if (period <= 0.0 || !(t > 0.0))
        return frame;
    const long long cycle = static_cast<long long>(t / period);
    // Rounding may put the remainder a hair outside [0, period): keep it inside.
    const double into_cycle = std::clamp(t - static_cast<double>(cycle) * period, 0.0, period);
    frame.index = static_cast<int>(cycle % picture_count);
    frame.next = frame.index;
    if (into_cycle > hold_seconds && picture_count > 1 && transition_seconds > 0.0) {
        frame.sliding = true;
        frame.next = frame.index + 1 == picture_count ? 0 : frame.index + 1;
        frame.progress =
            std::clamp(static_cast<float>((into_cycle - hold_seconds) / transition_seconds), 0.0f, 1.0f);
    }
    return frame;
}

SlidePlacements PlaceSlides(const SlideFrame& frame, int area_width, int area_height, int current_width,
                            int current_height, int next_width, int next_height) {
    SlidePlacements placements;
    placements.current = {(area_width - current_width) / 2, (area_height - current_height) / 2};
    if (!frame.sliding)
        return placements;
    const int shift = static_cast<int>(static_cast<float>(area_width) * frame.progress);
    placements.current.x -= shift;
    placements.next = {area_width + (area_width - next_width) / 2 - shift, (area_height - next_height) / 2};
    placements.draws_next = true;
    return placements;
}

double SecondsSince(long start_ms, long now_ms) {
    if (start_ms < 0 || now_ms < 0 || now_ms < start_ms)
        return 0.0;
    return static_cast<double>(now_ms - start_ms) / 1000.0;
}
