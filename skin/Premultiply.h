#pragma once
// Per-pixel alpha blending (AlphaBlend with AC_SRC_ALPHA) wants colour channels already
// multiplied by their alpha; decoders hand out straight alpha.
#include <cstddef>
#include <cstdint>

// Pixels as B, G, R, A bytes: each colour channel becomes channel * A / 255, truncated.
void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixel_count);
