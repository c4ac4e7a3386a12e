// Writing 8-bit indexed PNG images (frames, screenshots, icons, contact sheets) with libpng.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qvar {

// A 256-entry palette as the PNG stores it: red, green and blue of entry 0, then entry 1, ...
using RgbTriples = std::array<uint8_t, 256 * 3>;

// The shape of one pixel as the picture is meant to be seen, stored in the pHYs chunk as
// pixels per unit along x and along y (the unit itself unknown): a pixel is y/x as wide as tall.
struct PixelAspect {
    uint32_t x_per_unit = 1;
    uint32_t y_per_unit = 1;
};
inline constexpr PixelAspect SQUARE_PIXELS{1, 1};
// 320x200 shown on a 4:3 screen: each pixel is 5/6 as wide as it is tall.
inline constexpr PixelAspect FOUR_THREE_PIXELS{6, 5};

// Encodes width x height palette indices, row-major, with the 256-entry palette and the pixel
// aspect, compressed. The bytes depend only on the inputs (and libpng and zlib's versions),
// so the same picture always gives the same file. Empty when libpng refuses the picture.
std::vector<uint8_t> encode_png_indexed(uint32_t width, uint32_t height, const uint8_t* pixels,
                                        const RgbTriples& palette, PixelAspect aspect = SQUARE_PIXELS);

// Encodes and writes the PNG atomically; false with `reason` in plain words on failure.
bool write_png_indexed(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels,
                       const RgbTriples& palette, PixelAspect aspect, std::string& reason);
bool write_png_indexed(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels,
                       const RgbTriples& palette);

}  // namespace qvar
