// Captured frames: the frame list, the file names, and a PNG a viewer can read back.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include <filesystem>

#include "platform/frame_capture.h"
#include "test_support.h"

using namespace qvar;

namespace {

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// A bitwise CRC-32, written apart from the encoder's so that the check is independent.
uint32_t reference_crc(const uint8_t* data, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
}

// Splits a PNG into "TYPE" -> data, checking the signature and every CRC on the way.
std::vector<std::pair<std::string, std::vector<uint8_t>>> read_chunks(const std::vector<uint8_t>& png) {
    EXPECT_EQ(std::string(png.begin(), png.begin() + long(std::min<size_t>(8, png.size()))), "\x89PNG\r\n\x1a\n");
    std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks;
    size_t at = 8;
    while (at + 12 <= png.size() && at + 12 + be32(png, at) <= png.size()) {
        const uint32_t len = be32(png, at);
        const auto start = png.begin() + long(at);
        chunks.emplace_back(std::string(start + 4, start + 8), std::vector<uint8_t>(start + 8, start + 8 + len));
        EXPECT_EQ(be32(png, at + 8 + len), reference_crc(png.data() + at + 4, len + 4)) << chunks.back().first;
        at += 12 + len;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

// Inflates a zlib stream with zlib itself and checks that it ends where the data ends.
std::vector<uint8_t> inflate_all(const std::vector<uint8_t>& z, size_t expected_size) {
    std::vector<uint8_t> out(expected_size + 1);
    uLongf size = out.size();
    EXPECT_EQ(uncompress(out.data(), &size, z.data(), z.size()), Z_OK);
    out.resize(size);
    return out;
}

// Decodes an 8-bit palette PNG with libpng; the pixels row-major, the palette as triples.
struct DecodedPng {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> pixels, palette;
    png_uint_32 phys_x = 0, phys_y = 0;
};
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

TEST(FrameList, ListsRangesAndAll) {
    FrameSelection s;
    std::string error;
    ASSERT_TRUE(parse_frame_list("1,50, 200 ,10-20", s, error)) << error;
    for (uint64_t f : {1u, 10u, 15u, 20u, 50u, 200u}) EXPECT_TRUE(s.contains(f)) << f;
    for (uint64_t f : {0u, 2u, 9u, 21u, 199u, 201u}) EXPECT_FALSE(s.contains(f)) << f;
    ASSERT_TRUE(parse_frame_list("all", s, error));
    EXPECT_TRUE(s.contains(123456));
    for (const char* bad : {"", ",", "1,", "a", "0", "5-", "-5", "7-3", "1-2-3", "99999999999", "1;2"})
        EXPECT_FALSE(parse_frame_list(bad, s, error)) << bad;
    EXPECT_EQ(frame_file_name(50), "frame-000050.png");
    EXPECT_EQ(frame_file_name(1234567), "frame-1234567.png");
}

TEST(FrameCapture, WritesTheChosenFramesAsIndexedPngOrStopsWithAReason) {
    test::TempDir dir;
    HeadlessPlatform p;
    std::string error;
    p.open_display(error);
    auto result = attach_frame_capture(p, dir.path(), FrameSelection{false, {{2, 2}}});
    std::array<uint8_t, 64000> frame{};
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t(i * 7 + i / 320);
    p.present(frame.data());
    p.set_palette_entry(5, Rgb{1, 2, 3});  // shows from frame 2 on
    p.present(frame.data());
    p.present(frame.data());
    EXPECT_EQ(result->written, 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("frame-000001.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("frame-000003.png")));

    // Our own reading of the chunks, then libpng's: the same frame and palette, square pixels.
    const std::vector<uint8_t> file = test::read_bytes(dir.file("frame-000002.png"));
    auto chunks = read_chunks(file);
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(chunks[0].first + chunks[1].first + chunks[2].first + chunks[3].first + chunks[4].first,
              "IHDRPLTEpHYsIDATIEND");
    EXPECT_EQ(chunks[0].second, (std::vector<uint8_t>{0, 0, 1, 64, 0, 0, 0, 200, 8, 3, 0, 0, 0}));
    std::vector<uint8_t> palette;
    for (const Rgb& c : p.palette()) palette.insert(palette.end(), {c.r, c.g, c.b});
    EXPECT_EQ(chunks[1].second, palette);
    EXPECT_EQ(chunks[1].second[15], 1);
    EXPECT_EQ(chunks[2].second, (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 1, 0}));  // 1:1, unit unknown
    std::vector<uint8_t> rows;  // each row: filter byte 0 (none), then its 320 pixels
    for (long y = 0; y < 200; ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), frame.begin() + y * 320, frame.begin() + y * 320 + 320);
    }
    EXPECT_TRUE(inflate_all(chunks[3].second, rows.size()) == rows);
    EXPECT_LT(file.size(), rows.size() / 2);  // compressed
    const DecodedPng decoded = decode_with_libpng(dir.file("frame-000002.png"));
    EXPECT_EQ(decoded.width * decoded.height, 64000u);
    EXPECT_TRUE(std::equal(decoded.pixels.begin(), decoded.pixels.end(), frame.begin()));
    EXPECT_EQ(decoded.palette, palette);
    HeadlessPlatform q;  // a folder that cannot be written stops the capture, naming the file
    auto failed = attach_frame_capture(q, "/nonexistent-qvar-folder/deeper", FrameSelection{true, {}});
    q.present(frame.data());
    q.present(frame.data());
    EXPECT_TRUE(failed->failed);
    EXPECT_EQ(failed->written, 0u);
    EXPECT_NE(failed->error.find("frame-000001.png"), std::string::npos);
}
