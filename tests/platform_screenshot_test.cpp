// Screenshots: their names, the picture and palette as presented, the pixel aspect, and a
// failed write that says why.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/screenshot.h"
#include "png_reader.h"
#include "test_support.h"

using namespace qvar;

TEST(Screenshot, SavesTheFrameWithItsPaletteAndAspectUnderANewNameEachTime) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 6;
    when.tm_hour = 21;
    when.tm_min = 4;
    when.tm_sec = 2;
    EXPECT_EQ(screenshot_file_name(when, 0), "qvar-2026-12-06_21-04-02.png");
    EXPECT_EQ(screenshot_file_name(when, 1), "qvar-2026-12-06_21-04-02-2.png");

    test::TempDir dir;
    std::array<uint8_t, 64000> frame{};
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t(i / 320 + (i % 320) / 8);
    Palette palette = compute_palette(1.0f);
    palette[7] = Rgb{9, 8, 7};
    const std::time_t now = std::mktime(&when);
    std::string first, second, reason;
    ASSERT_TRUE(save_screenshot(dir.file("shots"), frame.data(), palette, FOUR_THREE_PIXELS, now, first, reason)) << reason;
    ASSERT_TRUE(save_screenshot(dir.file("shots"), frame.data(), palette, SQUARE_PIXELS, now, second, reason)) << reason;
    EXPECT_EQ(std::filesystem::path(first).filename(), "qvar-2026-12-06_21-04-02.png");
    EXPECT_EQ(std::filesystem::path(second).filename(), "qvar-2026-12-06_21-04-02-2.png");
    const test::DecodedPng png = test::decode_png_both_ways(first);
    EXPECT_EQ(png.width * 1000 + png.height, 320200u);
    EXPECT_TRUE(std::equal(png.pixels.begin(), png.pixels.end(), frame.begin()) && png.pixels.size() == 64000);
    EXPECT_EQ(png.palette.size(), 768u);
    EXPECT_EQ(png.palette[21] * 10000 + png.palette[22] * 100 + png.palette[23], 90807);
    EXPECT_EQ(png.phys_x * 1000 + png.phys_y, 6005u);  // 4:3: a pixel 5/6 as wide as tall
    EXPECT_EQ(test::decode_png_both_ways(second).phys_x * 1000 + test::decode_png_both_ways(second).phys_y, 1001u);
    EXPECT_EQ(test::read_bytes(first).size(), test::read_bytes(second).size());  // same bytes but the pHYs

    test::write_bytes(dir.file("plain"), {1});  // a file where the folder should be
    EXPECT_FALSE(save_screenshot(dir.file("plain/shots"), frame.data(), palette, SQUARE_PIXELS, now, first, reason));
    EXPECT_NE(reason.find("cannot create the folder"), std::string::npos) << reason;
}
