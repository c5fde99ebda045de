#include "skin/Premultiply.h"

void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixel_count) {
    for (std::size_t i = 0; i < pixel_count; ++i, pixels += 4) {
        const unsigned alpha = pixels[3];
        if (alpha == 255)
            continue;
        for (int channel = 0; channel < 3; ++channel)
            pixels[channel] = static_cast<std::uint8_t>(pixels[channel] * alpha / 255);
    }
}
