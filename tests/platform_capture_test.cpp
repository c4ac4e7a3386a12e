// Captured frames: the frame list, the file names, and a PNG a viewer can read back.
#include <gtest/gtest.h>

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

// Undoes a zlib stream made of stored deflate blocks and checks its Adler-32.
std::vector<uint8_t> inflate_stored(const std::vector<uint8_t>& z) {
    std::vector<uint8_t> out;
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);  // header check
    size_t at = 2;
    for (bool last = false; !last && at + 5 <= z.size();) {
        last = (z[at] & 1) != 0;
        EXPECT_EQ((z[at] >> 1) & 3, 0);  // stored block
        const size_t len = size_t(z[at + 1] | (z[at + 2] << 8));
        EXPECT_EQ(len ^ 0xFFFFu, size_t(z[at + 3] | (z[at + 4] << 8)));
        out.insert(out.end(), z.begin() + long(at + 5), z.begin() + long(at + 5 + len));
        at += 5 + len;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t v : out) b = (b + (a = (a + v) % 65521)) % 65521;
    EXPECT_EQ(be32(z, at), (b << 16) | a);
    return out;
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

    auto chunks = read_chunks(test::read_bytes(dir.file("frame-000002.png")));
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].first + chunks[1].first + chunks[2].first + chunks[3].first, "IHDRPLTEIDATIEND");
    EXPECT_EQ(chunks[0].second, (std::vector<uint8_t>{0, 0, 1, 64, 0, 0, 0, 200, 8, 3, 0, 0, 0}));
    std::vector<uint8_t> palette;
    for (const Rgb& c : p.palette()) palette.insert(palette.end(), {c.r, c.g, c.b});
    EXPECT_EQ(chunks[1].second, palette);
    EXPECT_EQ(chunks[1].second[15], 1);
    std::vector<uint8_t> rows;  // each row: filter byte 0 (none), then its 320 pixels
    for (long y = 0; y < 200; ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), frame.begin() + y * 320, frame.begin() + y * 320 + 320);
    }
    EXPECT_TRUE(inflate_stored(chunks[2].second) == rows);
    HeadlessPlatform q;  // a folder that cannot be written stops the capture, naming the file
    auto failed = attach_frame_capture(q, "/nonexistent-qvar-folder/deeper", FrameSelection{true, {}});
    q.present(frame.data());
    q.present(frame.data());
    EXPECT_TRUE(failed->failed);
    EXPECT_EQ(failed->written, 0u);
    EXPECT_NE(failed->error.find("frame-000001.png"), std::string::npos);
}
