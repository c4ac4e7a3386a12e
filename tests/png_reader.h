// Reading back the PNG files the game writes: our own chunk reader (with zlib for the
// pixels) and libpng's, which must agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvar::test {

struct DecodedPng {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> pixels;   // palette indices, row-major
    std::vector<uint8_t> palette;  // 256 red, green, blue triples
    uint32_t phys_x = 0, phys_y = 0;  // pHYs pixels per unit; 0 when there is none
    size_t file_size = 0;
};

// Decodes an 8-bit indexed PNG twice, with our reader (checking the signature, every CRC,
// the chunk order IHDR PLTE pHYs IDAT IEND and that the data is unfiltered) and with
// libpng; a disagreement fails the test. Returns our reading.
DecodedPng decode_png_both_ways(const std::string& path);

}  // namespace qvar::test
