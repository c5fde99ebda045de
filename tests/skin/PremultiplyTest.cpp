#include "skin/Premultiply.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using Pixel = std::array<std::uint8_t, 4>; // B, G, R, A

TEST(PremultiplyBgra, MultipliesEachColourChannelByAlphaTruncating) {
    const struct {
        Pixel straight, premultiplied;
    } cases[] = {
        {{255, 128, 1, 128}, {128, 64, 0, 128}},
        {{10, 20, 30, 255}, {10, 20, 30, 255}}, // opaque: unchanged
        {{200, 100, 50, 0}, {0, 0, 0, 0}},      // transparent: black
        {{255, 255, 255, 1}, {1, 1, 1, 1}},     // channels never exceed alpha
        {{254, 127, 255, 254}, {253, 126, 254, 254}},
    };
    // All cases in one buffer, so that every pixel of a run is reached, not only the first.
    std::vector<std::uint8_t> pixels;
    for (const auto& c : cases)
        pixels.insert(pixels.end(), c.straight.begin(), c.straight.end());
    PremultiplyBgra(pixels.data(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Pixel got{pixels[4 * i], pixels[4 * i + 1], pixels[4 * i + 2], pixels[4 * i + 3]};
        EXPECT_EQ(got, cases[i].premultiplied) << "pixel " << i;
    }
}

TEST(PremultiplyBgra, LeavesBytesPastTheCountAlone) {
    std::vector<std::uint8_t> pixels{255, 255, 255, 0, 255, 255, 255, 0};
    PremultiplyBgra(pixels.data(), 1);
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
}

} // namespace
