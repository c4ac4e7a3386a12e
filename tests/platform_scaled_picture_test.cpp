// The picture on a bigger target: its place, whole and changed-only drawing, the bars, and
// mouse positions mapped back.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/scaled_picture.h"

using namespace qvar;

namespace {

constexpr int W = 700, H = 450;  // scale 2, the picture at (30, 25)
constexpr uint32_t UNTOUCHED = 0xDEADBEEF;

struct Target {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(W * H, UNTOUCHED);
    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(pixels.data()); }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * W + x)]; }
};

ColourTable colours() {
    ColourTable c{};
    for (size_t i = 0; i < c.size(); ++i) c[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203u);
    return c;
}

}  // namespace

TEST(ScaledPicture, FitsDrawsWholeOrChangedPiecesFillsTheBarsAndMapsBack) {
    EXPECT_EQ(std::make_tuple(fit_picture(1600, 1000).scale_x, fit_picture(1600, 1000).x), std::make_tuple(5, 0));
    const PictureFit full = fit_picture(1920, 1080);  // letterboxed full screen
    EXPECT_EQ(std::make_tuple(full.scale_x, full.scale_y, full.x, full.y), std::make_tuple(5, 5, 160, 40));
    EXPECT_EQ(fit_picture(319, 1000).scale_x, 0);

    const PictureFit fit = fit_picture(W, H);
    ASSERT_EQ(std::make_tuple(fit.scale_x, fit.x, fit.y), std::make_tuple(2, 30, 25));
    std::vector<uint8_t> before(64000), now(64000);
    for (size_t i = 0; i < before.size(); ++i) before[i] = static_cast<uint8_t>(i % 251);
    now = before;
    now[10 * 320 + 5] = 7;     // two changes far apart: two bands
    now[150 * 320 + 300] = 9;
    Target whole, changed;
    draw_scaled(before.data(), colours(), fit, changed.bytes(), W * 4);
    draw_scaled(now.data(), colours(), fit, whole.bytes(), W * 4);
    FieldRect parts[8];
    const int n = draw_changes(before.data(), now.data(), colours(), fit, changed.bytes(), W * 4, parts, 8);
    EXPECT_TRUE(changed.pixels == whole.pixels);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(std::make_tuple(parts[0].x, parts[0].y, parts[0].w, parts[0].h), std::make_tuple(0, 10, 8, 1));
    EXPECT_EQ(std::make_tuple(parts[1].x, parts[1].y, parts[1].w, parts[1].h), std::make_tuple(296, 150, 8, 1));
    EXPECT_EQ(draw_changes(now.data(), now.data(), colours(), fit, changed.bytes(), W * 4, parts, 8), 0);
    EXPECT_EQ(draw_changes(before.data(), now.data(), colours(), fit, changed.bytes(), W * 4, parts, 1), 1);
    EXPECT_EQ(std::make_tuple(parts[0].x, parts[0].y, parts[0].w, parts[0].h), std::make_tuple(0, 10, 304, 141));
    // Play-field pixel (5, 10) is the 2x2 block at (40, 45); the bars are not drawn on.
    for (auto [x, y] : {std::pair{40, 45}, {41, 46}}) EXPECT_EQ(whole.at(x, y), colours()[7]);
    for (auto [x, y] : {std::pair{29, 45}, {670, 45}, {40, 24}, {40, 425}}) EXPECT_EQ(whole.at(x, y), UNTOUCHED);

    fill_bars(whole.bytes(), W * 4, W, H, fit, 0);
    for (auto [x, y] : {std::pair{0, 0}, {29, 45}, {670, 45}, {699, 449}, {40, 24}, {40, 425}}) EXPECT_EQ(whole.at(x, y), 0u);
    EXPECT_EQ(whole.at(40, 45), colours()[7]);

    uint16_t fx = 0, fy = 0;
    target_to_field(fit, 41, 46, fx, fy);
    EXPECT_EQ(std::make_tuple(fx, fy), std::make_tuple(5, 10));
    target_to_field(fit, -40, 5000, fx, fy);  // off the picture: its nearest edge
    EXPECT_EQ(std::make_tuple(fx, fy), std::make_tuple(0, 199));
}
