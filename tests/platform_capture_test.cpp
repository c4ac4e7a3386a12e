// Captured frames and screenshots: the frame list, the file names, a PNG a viewer can read back,
// and a failed write that says why (the palette as presented and the 4:3 aspect of a shot are
// checked through F12 in platform_sdl_window_test).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/frame_capture.h"
#include "platform/screenshot.h"
#include "png_reader.h"
#include "test_support.h"

using namespace qvar;
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // unnamed fields keep their defaults

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
    EXPECT_EQ(result->written, 1u);  // frame 2 alone, read back below

    // Our own reading and libpng's: the frame and its palette with square pixels, compressed.
    const test::DecodedPng png = test::decode_png_both_ways(dir.file("frame-000002.png"));
    EXPECT_TRUE(std::equal(png.pixels.begin(), png.pixels.end(), frame.begin()) && png.pixels.size() == 64000);
    std::vector<uint8_t> palette;
    for (const Rgb& c : p.palette()) palette.insert(palette.end(), {c.r, c.g, c.b});
    EXPECT_EQ(png.palette, palette);
    EXPECT_EQ(png.palette[15], 1);
    EXPECT_EQ(png.phys_x * 1000 + png.phys_y, 1001u);
    EXPECT_LT(png.file_size, 64000u / 2);
    HeadlessPlatform q;  // a folder that cannot be written stops the capture, naming the file
    auto failed = attach_frame_capture(q, "/nonexistent-qvar-folder/deeper", FrameSelection{true, {}});
    q.present(frame.data());
    q.present(frame.data());
    EXPECT_TRUE(failed->failed);
    EXPECT_EQ(failed->written, 0u);
    EXPECT_NE(failed->error.find("frame-000001.png"), std::string::npos);
}

TEST(Screenshot, SavesUnderANewNameEachTimeWithTheAspectAskedForOrSaysWhyNot) {
    std::tm when{.tm_sec = 2, .tm_min = 4, .tm_hour = 21, .tm_mday = 6, .tm_mon = 11, .tm_year = 2026 - 1900};
    test::TempDir dir;
    std::array<uint8_t, 64000> frame{};
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t(i / 320 + (i % 320) / 8);
    const Palette palette = compute_palette(1.0f);
    const std::time_t now = std::mktime(&when);
    std::string first, second, reason;
    ASSERT_TRUE(save_screenshot(dir.file("shots"), frame.data(), palette, FOUR_THREE_PIXELS, now, first, reason)) << reason;
    ASSERT_TRUE(save_screenshot(dir.file("shots"), frame.data(), palette, SQUARE_PIXELS, now, second, reason)) << reason;
    EXPECT_EQ(std::filesystem::path(first).filename(), "qvar-2026-12-06_21-04-02.png");
    EXPECT_EQ(std::filesystem::path(second).filename(), "qvar-2026-12-06_21-04-02-2.png");
    // The pixels and palette of a shot, and its 4:3 aspect: F12's test in platform_sdl_window_test.
    const test::DecodedPng png = test::decode_png_both_ways(second);
    EXPECT_EQ(png.phys_x * 1000 + png.phys_y, 1001u);

    test::write_bytes(dir.file("plain"), {1});  // a file where the folder should be
    EXPECT_FALSE(save_screenshot(dir.file("plain/shots"), frame.data(), palette, SQUARE_PIXELS, now, first, reason));
    EXPECT_NE(reason.find("cannot create the folder"), std::string::npos) << reason;
}
