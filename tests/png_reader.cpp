// The tests' own PNG reader and libpng's, for files the game wrote.
#include "png_reader.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "test_support.h"

namespace qvar::test {

namespace {

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// Splits a PNG into (type, data), checking the signature and every CRC on the way.
std::vector<std::pair<std::string, std::vector<uint8_t>>> read_chunks(const std::vector<uint8_t>& png) {
    EXPECT_EQ(std::string(png.begin(), png.begin() + long(std::min<size_t>(8, png.size()))), "\x89PNG\r\n\x1a\n");
    std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks;
    size_t at = 8;
    while (at + 12 <= png.size() && at + 12 + be32(png, at) <= png.size()) {
        const uint32_t len = be32(png, at);
        const auto start = png.begin() + long(at);
        chunks.emplace_back(std::string(start + 4, start + 8), std::vector<uint8_t>(start + 8, start + 8 + len));
        EXPECT_EQ(be32(png, at + 8 + len), uint32_t(crc32(0, png.data() + at + 4, len + 4))) << chunks.back().first;
        at += 12 + len;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

DecodedPng decode_ourselves(const std::vector<uint8_t>& file) {
    DecodedPng d;
    d.file_size = file.size();
    const auto chunks = read_chunks(file);
    std::string order;
    for (const auto& c : chunks) order += c.first;
    EXPECT_EQ(order, "IHDRPLTEpHYsIDATIEND");
    if (order != "IHDRPLTEpHYsIDATIEND") return d;
    d.width = be32(chunks[0].second, 0);
    d.height = be32(chunks[0].second, 4);
    EXPECT_EQ(std::vector<uint8_t>(chunks[0].second.begin() + 8, chunks[0].second.end()),
              (std::vector<uint8_t>{8, 3, 0, 0, 0}));  // 8-bit indexed, deflate, no interlace
    d.palette = chunks[1].second;
    d.phys_x = be32(chunks[2].second, 0);
    d.phys_y = be32(chunks[2].second, 4);
    EXPECT_EQ(chunks[2].second.at(8), 0);  // the unit is unknown: an aspect, not a size
    std::vector<uint8_t> rows(size_t(d.width + 1) * d.height + 1);
    uLongf size = rows.size();
    EXPECT_EQ(uncompress(rows.data(), &size, chunks[3].second.data(), chunks[3].second.size()), Z_OK);
    EXPECT_EQ(size, rows.size() - 1);
    for (uint32_t y = 0; y < d.height && size == rows.size() - 1; ++y) {
        EXPECT_EQ(rows[size_t(y) * (d.width + 1)], 0) << "row " << y << " is filtered";
        const auto row = rows.begin() + long(size_t(y) * (d.width + 1) + 1);
        d.pixels.insert(d.pixels.end(), row, row + d.width);
    }
    return d;
}

DecodedPng decode_with_libpng(const std::string& path) {
    DecodedPng d;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    d.width = image.width;
    d.height = image.height;
    image.format = PNG_FORMAT_RGB_COLORMAP;
    d.pixels.resize(PNG_IMAGE_SIZE(image));
    d.palette.resize(PNG_IMAGE_COLORMAP_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, d.pixels.data(), 0, d.palette.data())) << image.message;
    EXPECT_EQ(image.colormap_entries, 256u);
    return d;
}

}  // namespace

DecodedPng decode_png_both_ways(const std::string& path) {
    const DecodedPng ours = decode_ourselves(read_bytes(path));
    const DecodedPng theirs = decode_with_libpng(path);
    EXPECT_EQ(ours.width, theirs.width);
    EXPECT_EQ(ours.height, theirs.height);
    EXPECT_TRUE(ours.pixels == theirs.pixels) << path;
    EXPECT_TRUE(ours.palette == theirs.palette) << path;
    return ours;
}

}  // namespace qvar::test
