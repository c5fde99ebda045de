#include "skin/DpiScale.h"

#include <gtest/gtest.h>

namespace {

TEST(StepFactor, StepsAtTheArtworkResolutions) {
    const struct {
        int dpi;
        double factor;
    } cases[] = {{0, 1.0},   {96, 1.0},  {110, 1.0}, {119, 1.0}, {120, 1.25}, {143, 1.25},
                 {144, 1.5}, {168, 1.5}, {191, 1.5}, {192, 2.0}, {240, 2.0},  {480, 2.0}};
    for (const auto& c : cases)
        EXPECT_EQ(StepFactor(c.dpi), c.factor) << "dpi " << c.dpi;
}

// One row per screen: sizes of n pixels at 96 DPI, stepped and exact, and the artwork picked.
TEST(DpiScale, ScalesSizesAndPicksArtwork) {
    const struct {
        int dpi_x, dpi_y, n;
        int scale_x, scale_y, exact_x, exact_y, snapped, variant_of_106;
    } cases[] = {
        {96, 96, 28, 28, 28, 28, 28, 96, 106},
        {96, 96, 1, 1, 1, 1, 1, 96, 106},
        {120, 120, 28, 35, 35, 35, 35, 120, 107},
        {144, 144, 28, 42, 42, 42, 42, 144, 108},
        {144, 144, 1, 1, 1, 1, 1, 144, 108},      // a one-pixel line stays one pixel at 150 %
        {168, 168, 28, 42, 42, 49, 49, 144, 108}, // stepped 1.5, exact 1.75
        {192, 192, 1, 2, 2, 2, 2, 192, 109},
        {240, 240, 28, 56, 56, 70, 70, 192, 109}, // the factor stops at 2.0
        {110, 110, 28, 28, 28, 32, 32, 110, 106}, // below 120 nothing steps up
        {119, 119, 30, 30, 30, 37, 37, 119, 106},
        {143, 143, 30, 37, 37, 44, 44, 120, 107}, // 37.5 and 44.7 truncated
        {191, 191, 30, 45, 45, 59, 59, 144, 108},
        {120, 120, -3, -3, -3, -3, -3, 120, 107}, // truncation is toward zero
        {0, 0, 28, 28, 28, 0, 0, 0, 106},         // no screen DC
        {96, 144, 28, 28, 42, 28, 42, 144, 108},  // artwork follows the vertical DPI
        {192, 96, 28, 56, 28, 56, 28, 96, 106},
    };
    for (const auto& c : cases) {
        const DpiScale s{c.dpi_x, c.dpi_y};
        SCOPED_TRACE(testing::Message() << "dpi " << c.dpi_x << "x" << c.dpi_y << ", n " << c.n);
        EXPECT_EQ(s.ScaleX(c.n), c.scale_x);
        EXPECT_EQ(s.ScaleY(c.n), c.scale_y);
        EXPECT_EQ(s.ScaleExactX(c.n), c.exact_x);
        EXPECT_EQ(s.ScaleExactY(c.n), c.exact_y);
        EXPECT_EQ(s.SnappedDpi(), c.snapped);
        EXPECT_EQ(s.PickDpiVariant(106), c.variant_of_106);
    }
}

TEST(DpiScale, EveryArtworkBaseIdStepsThroughItsFourVariants) {
    const int dpis[] = {96, 120, 144, 192};
    for (int base : {106, 129, 144, 161}) {
        for (int step = 0; step < 4; ++step)
            EXPECT_EQ((DpiScale{96, dpis[step]}.PickDpiVariant(base)), base + step)
                << base << " " << dpis[step];
    }
}

TEST(CornerRadii, ProgressRadiiAreUnroundedTextButtonRadiiWholePixels) {
    const struct {
        int dpi_x, dpi_y;
        float progress_x, progress_y;
        int button_x, button_y;
    } cases[] = {
        {96, 96, 3.0f, 3.0f, 4, 4},         {120, 120, 3.75f, 3.75f, 5, 5}, {168, 144, 5.25f, 4.5f, 7, 6},
        {110, 110, 3.4375f, 3.4375f, 4, 4}, {0, 0, 0.0f, 0.0f, 0, 0},
    };
    for (const auto& c : cases) {
        const CornerRadii r = CornerRadiiFor(DpiScale{c.dpi_x, c.dpi_y});
        SCOPED_TRACE(testing::Message() << "dpi " << c.dpi_x << "x" << c.dpi_y);
        EXPECT_FLOAT_EQ(r.progress_x, c.progress_x);
        EXPECT_FLOAT_EQ(r.progress_y, c.progress_y);
        EXPECT_EQ(r.text_button_x, c.button_x);
        EXPECT_EQ(r.text_button_y, c.button_y);
    }
}

} // namespace
