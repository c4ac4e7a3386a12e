// The drawing primitives at their boundaries: unsigned clipping, soft dots and sprites clipped
// or wrapped at the edges. (Lines: gfx_line_test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "gfx/draw.h"

using namespace qvar;

namespace {

struct Px { int x, y; uint8_t v; };

// Every listed pixel holds its value and exactly `total` pixels are set.
void expect_pixels(const FrameBuffer& fb, const std::vector<Px>& want, long total) {
    for (const Px& p : want) EXPECT_EQ(fb.at(p.x, p.y), p.v) << "at " << p.x << "," << p.y;
    EXPECT_EQ(std::count_if(fb.pixels.begin(), fb.pixels.end(), [](uint8_t p) { return p != 0; }), total);
}

uint32_t neg(int32_t v) { return static_cast<uint32_t>(v); }

}  // namespace

TEST(PutPixelAndFillRect, ClipAsUnsigned) {
    FrameBuffer fb;
    for (const auto& p : {std::array{320u, 0u}, std::array{0u, 200u}, std::array{neg(-1), 5u}}) {
        put_pixel(fb, p[0], p[1], 9);
        EXPECT_EQ(get_pixel(fb, p[0], p[1]), 255) << p[0] << "," << p[1];
    }
    for (const auto& r : {std::array{neg(-5), 10u, 10u}, std::array{10u, neg(-5), 10u}, std::array{20u, 20u, 0u}})
        fill_rect(fb, r[0], r[1], r[2], 10, 9);  // a negative corner or no width: nothing at all
    expect_pixels(fb, {}, 0);
    put_pixel(fb, 319, 199, 9);
    EXPECT_EQ(get_pixel(fb, 319, 199), 9);
    fill_rect(fb, 315, 10, 10, 10, 9);  // five columns left
    expect_pixels(fb, {{319, 199, 9}, {315, 10, 9}, {319, 19, 9}, {314, 10, 0}, {315, 20, 0}}, 51);
}

// The four pixels (10,20) (11,20) (10,21) (11,21); one of row 20 is set beforehand.
TEST(PlotSoftDot, SpreadsOverFourPixelsAndOnlyBrightens) {
    struct Case { float x, y; int before_x; uint8_t before, want[4]; };
    const Case cases[] = {
        {10.0f, 20.0f, 11, 20, {31, 20, 16, 16}},  // whole: all on one pixel, 20 beats 16
        {10.0f, 20.0f, 10, 40, {40, 16, 16, 16}},  // never darkens
        {10.5f, 20.5f, 10, 0, {23, 23, 23, 23}},   // weights sqrt(0.25): 16 + 7.5 each
    };
    for (const Case& c : cases) {
        FrameBuffer fb;
        fb.pixels[static_cast<size_t>(20 * 320 + c.before_x)] = c.before;
        plot_soft_dot(fb, c.x, c.y, 31.0f);
        expect_pixels(fb, {{10, 20, c.want[0]}, {11, 20, c.want[1]}, {10, 21, c.want[2]}, {11, 21, c.want[3]}}, 4);
    }
}

// The sprite copies, a run of bytes at a time, against the per-pixel rules: a sprite with holes
// at every column and row of the screen and beyond it (negative corners clip as unsigned),
// clipped and wrapped.
TEST(BlitSprite, ClipsOrWrapsAtTheEdgesKeepingTransparencyAsThePixelRulesSay) {
    Sprite s = make_sprite(37, 23, 0);
    for (size_t k = 0; k < s.pixels.size(); ++k) s.pixels[k] = k % 3 ? static_cast<uint8_t>(k % 250 + 1) : TRANSPARENT;
    FrameBuffer fast, plain;
    for (size_t k = 0; k < fast.pixels.size(); ++k) fast.pixels[k] = plain.pixels[k] = static_cast<uint8_t>(k % 251);
    auto plain_pixel = [&](int32_t px, int32_t py, int32_t c, int32_t r) {
        const uint8_t p = s.pixels[static_cast<size_t>(r * s.width + c)];
        if (p != TRANSPARENT) plain.pixels[static_cast<size_t>(py * 320 + px)] = p;
    };
    for (int32_t n = 0; n < 700; ++n) {
        const int32_t x = n - 350, y = n * 7 % 500 - 250;
        blit_sprite_wrapped(fast, x, y, s);
        for (int32_t r = 0; r < s.height; ++r)
            for (int32_t c = 0; c < s.width; ++c) plain_pixel(((x + c) % 320 + 320) % 320, ((y + r) % 200 + 200) % 200, c, r);
        ASSERT_TRUE(fast.pixels == plain.pixels) << "wrapped at " << x << "," << y;
        blit_sprite(fast, static_cast<uint32_t>(x), static_cast<uint32_t>(y), s);
        for (int32_t r = 0; x >= 0 && x < 320 && y >= 0 && y < 200 && r < s.height && y + r < 200; ++r)
            for (int32_t c = 0; c < s.width && x + c < 320; ++c) plain_pixel(x + c, y + r, c, r);
        ASSERT_TRUE(fast.pixels == plain.pixels) << "clipped at " << x << "," << y;
    }
}
