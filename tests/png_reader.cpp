// Reading back the PNG files the game writes: libpng for the picture, our own look at pHYs.
#include "png_reader.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>

#include "test_support.h"

namespace qvar::test {

namespace {

uint32_t be32(const uint8_t* b) { return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3]; }

// The pHYs chunk's two values, its CRC checked and its unit "unknown" (an aspect, not a size).
void read_phys(const std::vector<uint8_t>& file, DecodedPng& d) {
    const char tag[] = "pHYs";
    const auto at = std::search(file.begin(), file.end(), tag, tag + 4);
    ASSERT_TRUE(at != file.end() && file.end() - at >= 17 && be32(&*at - 4) == 9) << "no pHYs chunk";
    const uint8_t* chunk = &*at;
    EXPECT_EQ(be32(chunk + 13), uint32_t(crc32(0, chunk, 13))) << "pHYs CRC";
    EXPECT_EQ(chunk[12], 0);
    d.phys_x = be32(chunk + 4);
    d.phys_y = be32(chunk + 8);
}

}  // namespace

DecodedPng decode_png_both_ways(const std::string& path) {
    DecodedPng d;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_COLORMAP) << path << " is not indexed";
    d.width = image.width;
    d.height = image.height;
    image.format = PNG_FORMAT_RGB_COLORMAP;
    d.pixels.resize(PNG_IMAGE_SIZE(image));
    d.palette.resize(PNG_IMAGE_COLORMAP_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, d.pixels.data(), 0, d.palette.data())) << image.message;
    EXPECT_EQ(image.colormap_entries, 256u);
    const std::vector<uint8_t> file = read_bytes(path);
    d.file_size = file.size();
    read_phys(file, d);
    return d;
}

}  // namespace qvar::test
