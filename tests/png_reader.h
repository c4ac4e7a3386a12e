// Reading back the PNG files the game writes: libpng for the picture, our own look at pHYs.
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

// Decodes an 8-bit indexed PNG with libpng (which checks the signature, the chunks and their
// CRCs) and reads its pHYs chunk ourselves; a fault in either fails the test.
DecodedPng decode_png_both_ways(const std::string& path);

}  // namespace qvar::test
