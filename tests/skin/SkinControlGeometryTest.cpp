#include "skin/ComboGeometry.h"
#include "skin/ProgressGeometry.h"
#include "skin/SlideshowTimeline.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A 300 x 8 bar in a 320 x 20 control: the track starts at x = 10.
TEST(ProgressGeometry, FillsTheShareOfTheBarFromTheLeft) {
    const struct {
        int position, range;
        bool has_fill;
        float fill_width;
    } cases[] = {
        {500, 1000, true, 150.0f},  {0, 1000, false, 0.0f},
        {1, 1000, true, 0.3f},      {999, 1000, true, 299.7f},
        {1000, 1000, true, 300.0f}, {1500, 1000, true, 300.0f}, // above range: full
        {-20, 1000, false, 0.0f},   {50, 0, true, 300.0f},
        {50, -5, true, 300.0f}, // no usable range
        {33, 100, true, 99.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " of " << c.range);
        const ProgressGeometry bar = LayoutProgress(0, 0, 320, 20, 300, 8, 3.0f, 3.0f, c.position, c.range);
        EXPECT_EQ(bar.left, 10.0f);
        EXPECT_EQ(bar.top, 6.0f);
        EXPECT_EQ(bar.right, 310.0f);
        EXPECT_EQ(bar.bottom, 14.0f);
        EXPECT_EQ(bar.has_fill, c.has_fill);
        EXPECT_NEAR(bar.fill_right - bar.left, c.fill_width, 1e-3f);
        EXPECT_LE(bar.fill_right, bar.right);
    }
}

TEST(ProgressGeometry, CentresTheBarAndLimitsTheVerticalRadius) {
    const struct {
        int client_left, client_top, client_width, client_height, bar_width, bar_height;
        float radius_x, radius_y;
        float left, top, expected_radius_y;
    } cases[] = {
        {0, 0, 320, 20, 300, 8, 3.0f, 3.0f, 10.0f, 6.0f, 3.0f},
        {0, 0, 301, 9, 300, 8, 3.0f, 3.0f, 0.5f, 0.5f, 3.0f},      // odd slack: half-pixel centre
        {5, 7, 100, 30, 4, 8, 6.0f, 6.0f, 53.0f, 18.0f, 2.0f},     // radius at most half the width
        {0, 0, 600, 16, 600, 16, 5.25f, 5.25f, 0.0f, 0.0f, 5.25f}, // 168 DPI radii stay unrounded
        {0, 0, 50, 10, 80, 10, 3.0f, 3.0f, -15.0f, 0.0f, 3.0f},    // wider than the control: cut off
    };
    for (const auto& c : cases) {
        const ProgressGeometry bar =
            LayoutProgress(c.client_left, c.client_top, c.client_width, c.client_height, c.bar_width,
                           c.bar_height, c.radius_x, c.radius_y, 1, 1);
        EXPECT_EQ(bar.left, c.left);
        EXPECT_EQ(bar.top, c.top);
        EXPECT_EQ(bar.right - bar.left, static_cast<float>(c.bar_width));
        EXPECT_EQ(bar.bottom - bar.top, static_cast<float>(c.bar_height));
        EXPECT_EQ(bar.radius_x, c.radius_x);
        EXPECT_EQ(bar.radius_y, c.expected_radius_y);
    }
}

// Three pictures of 400, 500 and 300 pixels in a 600 x 300 area; each stands 7.5 s, slides 0.6 s.
TEST(SlideshowTimeline, PlacesThePicturesAtEachMoment) {
    const int widths[] = {400, 500, 300};
    const int heights[] = {200, 300, 100};
    const struct {
        double t;
        int index;
        bool sliding;
        int next;
        int shift; // int(600 x progress)
        int current_x, next_x;
    } cases[] = {
        {0.0, 0, false, 0, 0, 100, 0},
        {7.5, 0, false, 0, 0, 100, 0},     // the hold ends after 7.5 s, not at it
        {7.6, 0, true, 1, 100, 0, 550},    // a sixth of the slide: int(600 x 0.1667)
        {7.8, 0, true, 1, 300, -200, 350}, // half way
        {8.0, 0, true, 1, 500, -400, 150},
        {8.2, 1, false, 1, 0, 50, 0}, // picture 1 stands centred
        {16.0, 1, true, 2, 400, -350, 350},
        {24.0, 2, true, 0, 300, -150, 400}, // after the last picture the first follows
        {24.4, 0, false, 0, 0, 100, 0},     // picture 0 stands again
        {24.3 + 8.1 + 1.0, 1, false, 1, 0, 50, 0},
        {-3.0, 0, false, 0, 0, 100, 0}, // a clock that went back shows the first picture
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "t = " << c.t);
        const SlideFrame frame = SlideFrameAt(c.t, 3, 0.6, 7.5);
        EXPECT_EQ(frame.index, c.index);
        EXPECT_EQ(frame.sliding, c.sliding);
        EXPECT_EQ(frame.next, c.next);
        const SlidePlacements at = PlaceSlides(frame, 600, 300, widths[frame.index], heights[frame.index],
                                               widths[frame.next], heights[frame.next]);
        EXPECT_EQ(at.current.x, c.current_x);
        EXPECT_EQ(at.current.y, (300 - heights[frame.index]) / 2);
        EXPECT_EQ(at.draws_next, c.sliding);
        if (c.sliding) {
            EXPECT_EQ(static_cast<int>(600 * frame.progress), c.shift);
            EXPECT_EQ(at.next.x, c.next_x);
            EXPECT_EQ(at.next.y, (300 - heights[frame.next]) / 2);
        }
    }
}

// The slide's first sixth shifts by int(A x 0.1667) for the widths the progress page uses.
TEST(SlideshowTimeline, ASixthOfTheSlideShiftsBySixthOfTheWidth) {
    for (int width : {1, 6, 300, 440, 587, 600, 660, 880, 1000, 1320}) {
        const SlideFrame frame = SlideFrameAt(SecondsSince(0, 7600), 3, 0.6, 7.5);
        ASSERT_TRUE(frame.sliding);
        const SlidePlacements at = PlaceSlides(frame, width, 100, width, 100, width, 100);
        EXPECT_EQ(-at.current.x, static_cast<int>(width * 0.1667)) << width;
        EXPECT_EQ(at.next.x - at.current.x, width) << width;
    }
}

TEST(SlideshowTimeline, ASinglePictureStaysCentred) {
    for (double t : {0.0, 7.6, 7.9, 8.2, 100.05}) {
        const SlideFrame frame = SlideFrameAt(t, 1, 0.6, 7.5);
        EXPECT_EQ(frame.index, 0) << t;
        EXPECT_FALSE(frame.sliding) << t;
        const SlidePlacements at = PlaceSlides(frame, 600, 300, 200, 100, 200, 100);
        EXPECT_EQ(at.current.x, 200) << t;
        EXPECT_EQ(at.current.y, 100) << t;
        EXPECT_FALSE(at.draws_next) << t;
    }
}

TEST(SlideshowTimeline, TimeComesFromTheProcessClockAndStandsStillWithoutIt) {
    const struct {
        long start, now;
        double seconds;
    } cases[] = {{0, 7600, 7.6},  {250, 8450, 8.2}, {-1, -1, 0.0},
                 {-1, 5000, 0.0}, {100, -1, 0.0},   {900, 800, 0.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(SecondsSince(c.start, c.now), c.seconds) << c.start << " " << c.now;
    // After a long run the schedule still lands on whole periods: 1000 periods of 8.1 s.
    const SlideFrame frame = SlideFrameAt(SecondsSince(0, 8100000 + 7600), 3, 0.6, 7.5);
    EXPECT_EQ(frame.index, 1000 % 3);
    EXPECT_TRUE(frame.sliding);
}

// The closed combo at 96 and 192 DPI (ScaleX(24), ScaleX(5), ScaleExactX(4), ScaleExactX(1)).
TEST(ComboGeometry, LaysOutTheClosedBox) {
    const struct {
        int width, height, chevron_w, chevron_h, text_h;
        ComboMetrics metrics;
        PixelRect arrow_area, chevron, text;
    } cases[] = {
        {200, 24, 14, 14, 14, {24, 5, 4, 1}, {176, 0, 200, 24}, {181, 5, 195, 19}, {4, 5, 179, 19}},
        {400, 48, 28, 28, 29, {48, 10, 8, 2}, {352, 0, 400, 48}, {362, 10, 390, 38}, {8, 9, 358, 38}},
        {250, 30, 18, 18, 17, {30, 6, 5, 1}, {220, 0, 250, 30}, {226, 6, 244, 24}, {5, 6, 223, 23}},
        // a chevron wider than the minimum arrow area widens the area
        {100, 20, 30, 10, 14, {24, 5, 4, 1}, {70, 0, 100, 20}, {65, 5, 95, 15}, {4, 3, 63, 17}},
        // no chevron strip: the text runs up to the arrow margin
        {200, 24, 0, 0, 14, {24, 5, 4, 1}, {176, 0, 200, 24}, {195, 12, 195, 12}, {4, 5, 193, 19}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const ClosedComboLayout layout =
            LayoutClosedCombo(c.width, c.height, c.chevron_w, c.chevron_h, c.text_h, c.metrics);
        EXPECT_EQ(layout.arrow_area, c.arrow_area);
        EXPECT_EQ(layout.chevron, c.chevron);
        EXPECT_EQ(layout.text, c.text);
    }
}

TEST(ComboGeometry, ArrowRectangleAndHitArea) {
    EXPECT_EQ(ComboArrowRect(200, 24, 14, 4), (PixelRect{178, 0, 196, 24}));
    EXPECT_EQ(ComboArrowRect(400, 48, 28, 8), (PixelRect{356, 0, 392, 48}));
    const struct {
        int x, y;
        bool inside;
    } clicks[] = {{181, 12, true}, {180, 12, false}, {199, 12, true}, {200, 12, false},
                  {190, 0, false}, {190, 1, true},   {190, 23, true}, {190, 24, false}};
    for (const auto& c : clicks)
        EXPECT_EQ(IsInComboArrowHitArea(c.x, c.y, 200, 24, 14, 4), c.inside) << c.x << ", " << c.y;
}

TEST(ComboGeometry, TheListIsSevenRowsOf22PixelsScaledExactly) {
    const struct {
        int dpi, height;
    } cases[] = {{96, 154}, {110, 175}, {120, 189}, {144, 231}, {168, 266}, {192, 308}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ComboListHeight(c.dpi), c.height) << c.dpi;
    // Seven whole rows inside a one-pixel border.
    const struct { int dpi, row; } rows[] = {{96, 21}, {120, 26}, {144, 32}, {192, 43}, {0, 1}};
    for (const auto& r : rows) {
        EXPECT_EQ(ComboListItemHeight(r.dpi, 1), r.row) << r.dpi;
        EXPECT_LE(7 * ComboListItemHeight(r.dpi, 1), std::max(ComboListHeight(r.dpi) - 2, 7)) << r.dpi;
    }
}

TEST(ComboGeometry, DroppedWidthFitsTheWidestItem) {
    const struct {
        int widest, count, scroll, edge, chars, combo, width;
    } cases[] = {
        {100, 31, 17, 2, 6, 80, 100 + 17 + 4 + 12}, // more than 30 items: room for the scroll bar
        {100, 30, 17, 2, 6, 80, 100 + 4 + 12},
        {100, 3, 17, 2, 6, 200, 200}, // never narrower than the combo
        {0, 0, 17, 2, 6, 50, 50},
        {200, 40, 34, 4, 14, 120, 200 + 34 + 8 + 28}, // 192 DPI margins
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComboDroppedWidth(c.widest, c.count, c.scroll, c.edge, c.chars, c.combo), c.width)
            << c.widest << " " << c.count;
}

TEST(ComboGeometry, TheListIsMovedLeftByItsOverhang) {
    const struct {
        int combo_left, list_left, list_width, monitor_right, new_left;
    } cases[] = {
        {1800, 1800, 300, 1920, 1620}, // 180 pixels over the edge
        {1000, 1000, 300, 1920, 1000}, // fits
        {1620, 1620, 300, 1920, 1620}, // ends exactly at the edge
        {1920, 1920, 300, 1920, 1920}, // the combo is on the next monitor
        {-200, -200, 300, 0, -300},    // a monitor left of the primary one
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepListOnMonitor(c.combo_left, c.list_left, c.list_width, c.monitor_right), c.new_left)
            << c.list_left;
}

TEST(ComboGeometry, ListItemTextAndEditInset) {
    EXPECT_EQ(ListItemTextRect(200, 20, 4), (PixelRect{4, 1, 192, 18}));
    EXPECT_EQ(ListItemTextRect(400, 40, 8), (PixelRect{8, 1, 392, 38}));
    const struct {
        int height, leading, text, inset;
    } cases[] = {{21, 0, 14, 3}, {24, 1, 14, 4}, {42, 0, 29, 6}, {14, 0, 14, 0}, {10, 0, 14, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(EditTextInset(c.height, c.leading, c.text), c.inset) << c.height;
}

} // namespace
