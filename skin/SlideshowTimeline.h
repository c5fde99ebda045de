#pragma once
// The slideshow's schedule: each picture stands still for the hold time, then slides out to the
// left while the next slides in; after the last picture the first follows. The position of each
// picture is a function of the time since the show started, so it is tried here with any time
// value, without waiting.

struct SlideFrame {
    int index = 0;         // the picture standing, or sliding out
    int next = 0;          // the picture sliding in (equal to index when standing)
    bool sliding = false;  // in the slide phase
    float progress = 0.0f; // of the slide, 0 to 1
};

// t: seconds since the show started (negative counts as 0); picture_count > 0.
SlideFrame SlideFrameAt(double t, int picture_count, double transition_seconds, double hold_seconds);

struct SlidePlacement {
    int x = 0;
    int y = 0;
};

struct SlidePlacements {
    SlidePlacement current;
    SlidePlacement next;
    bool draws_next = false;
};

// Pictures are drawn at their own size inside an area of area_width x area_height: a standing
// picture centred; while sliding, the current one shifted left by int(area_width x progress) and
// the next one following it, one area width further right.
SlidePlacements PlaceSlides(const SlideFrame& frame, int area_width, int area_height, int current_width,
                            int current_height, int next_width, int next_height);

// Milliseconds of a process clock that reads -1 when it is unavailable: the seconds since the
// start, or 0 (time stands still) when either reading is unavailable.
double SecondsSince(long start_ms, long now_ms);
