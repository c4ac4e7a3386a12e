// The fixed 256-colour layout and its conversion to display bytes through a gamma curve.
#pragma once

#include <array>
#include <cstdint>

#include "util/png.h"

namespace qvar {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

using Palette = std::array<Rgb, 256>;

inline constexpr float DEFAULT_GAMMA = 1.0f;
inline constexpr float MIN_GAMMA = 0.1f;
inline constexpr float MAX_GAMMA = 10.0f;

// The three channel levels (0 .. 1) of colour index i in the fixed layout.
struct Levels {
    float r = 0, g = 0, b = 0;
};
Levels colour_levels(int index);

// Computes all 256 display entries for a gamma: low byte of trunc(255.4 * level^(1/gamma)),
// the power taken in double precision.
Palette compute_palette(float gamma);

// A gamma that is not finite or lies outside 0.1 .. 10 becomes 1.0.
float sanitize_gamma(float gamma);

// The display's first palette, before the real one is built: red i, green 128 or 255-i, blue i.
Palette initial_palette();

// The palette as plain red, green, blue bytes, for image files.
RgbTriples rgb_triples(const Palette& palette);

}  // namespace qvar
