// A small writer of 8-bit indexed PNG images (frames and contact sheets).
#pragma once

#include <cstdint>
#include <array>
#include <string>
#include <vector>

namespace qvar {

// A 256-entry palette as the PNG stores it: red, green and blue of entry 0, then entry 1, ...
using RgbTriples = std::array<uint8_t, 256 * 3>;

// Encodes width x height palette indices, row-major, with the 256-entry palette.
// The image data is stored uncompressed (deflate stored blocks), so the bytes depend only
// on the inputs.
std::vector<uint8_t> encode_png_indexed(uint32_t width, uint32_t height, const uint8_t* pixels,
                                        const RgbTriples& palette);

// Writes the PNG atomically; false on failure.
bool write_png_indexed(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels,
                       const RgbTriples& palette);

// CRC-32 as PNG uses it (exposed for tests).
uint32_t png_crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

}  // namespace qvar
