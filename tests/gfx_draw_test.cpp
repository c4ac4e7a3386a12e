// The drawing primitives at their boundaries: unsigned clipping, line stepping, soft dots and
// sprites clipped or wrapped at the edges.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/draw.h"

using namespace qvar;

namespace {

int count_set(const FrameBuffer& fb) {
    int n = 0;
    for (uint8_t p : fb.pixels) n += p != 0 ? 1 : 0;
    return n;
}

uint32_t neg(int32_t v) { return static_cast<uint32_t>(v); }

// 5 wide, 2 high; the middle column of the top row is transparent.
Sprite five_wide() { return make_sprite(5, 2, {1, 2, 255, 4, 5, 6, 7, 8, 9, 10}); }

}  // namespace

TEST(PutPixel, ClipsAsUnsignedAndReadsBack255Outside) {
    FrameBuffer fb;
    put_pixel(fb, 320, 0, 9);
    put_pixel(fb, 0, 200, 9);
    put_pixel(fb, neg(-1), 5, 9);
    EXPECT_EQ(count_set(fb), 0);
    EXPECT_EQ(get_pixel(fb, 320, 0), 255);
    EXPECT_EQ(get_pixel(fb, 0, 200), 255);
    EXPECT_EQ(get_pixel(fb, neg(-1), 5), 255);
    put_pixel(fb, 319, 199, 9);
    EXPECT_EQ(fb.pixels[63999], 9);
    EXPECT_EQ(get_pixel(fb, 319, 199), 9);
}

TEST(FillRect, NegativeCornerDrawsNothingAndRightEdgeClips) {
    FrameBuffer fb;
    fill_rect(fb, neg(-5), 10, 10, 10, 9);
    fill_rect(fb, 10, neg(-5), 10, 10, 9);
    fill_rect(fb, 20, 20, 0, 10, 9);
    EXPECT_EQ(count_set(fb), 0);
    fill_rect(fb, 315, 10, 10, 10, 9);
    EXPECT_EQ(count_set(fb), 5 * 10);
    for (int x = 315; x < 320; ++x) {
        EXPECT_EQ(fb.at(x, 10), 9);
        EXPECT_EQ(fb.at(x, 19), 9);
    }
    EXPECT_EQ(fb.at(314, 10), 0);
    EXPECT_EQ(fb.at(315, 20), 0);
}

TEST(DrawLine, ShorterThanTheThresholdIsOnePixel) {
    FrameBuffer fb;
    draw_line(fb, 10.0f, 10.0f, 10.2f, 10.2f, 9);  // 0.08 < 0.1
    EXPECT_EQ(count_set(fb), 1);
    EXPECT_EQ(fb.at(10, 10), 9);
}

TEST(DrawLine, HorizontalLineSkipsItsSecondEndEitherWayRound) {
    for (bool reversed : {false, true}) {
        FrameBuffer fb;
        if (reversed)
            draw_line(fb, 10.0f, 0.0f, 0.0f, 0.0f, 9);
        else
            draw_line(fb, 0.0f, 0.0f, 10.0f, 0.0f, 9);
        EXPECT_EQ(count_set(fb), 10) << reversed;
        for (int x = 0; x < 10; ++x) EXPECT_EQ(fb.at(x, 0), 9) << x;
        EXPECT_EQ(fb.at(10, 0), 0);
    }
}

TEST(DrawLine, DiagonalStepsAlongYAndSteepLinesStepOnePerRow) {
    FrameBuffer fb;
    draw_line(fb, 0.0f, 0.0f, 10.0f, 10.0f, 9);
    EXPECT_EQ(count_set(fb), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(fb.at(i, i), 9) << i;
    EXPECT_EQ(fb.at(10, 10), 0);

    FrameBuffer steep;
    draw_line(steep, 0.0f, 0.0f, 2.0f, 10.0f, 9);
    EXPECT_EQ(count_set(steep), 10);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(steep.at((y * 2) / 10, y), 9) << y;
}

TEST(DrawLine, MinusAHalfTruncatesToColumnZero) {
    FrameBuffer fb;
    draw_line(fb, -0.5f, 5.0f, 3.0f, 5.0f, 9);  // plots at -0.5, 0.5, 1.5, 2.5
    EXPECT_EQ(fb.at(0, 5), 9);
    EXPECT_EQ(fb.at(1, 5), 9);
    EXPECT_EQ(fb.at(2, 5), 9);
    EXPECT_EQ(fb.at(3, 5), 0);
    EXPECT_EQ(count_set(fb), 3);
}

TEST(DrawLine, LinesLeavingTheScreenAreClipped) {
    FrameBuffer fb;
    draw_line(fb, 310.0f, 100.0f, 330.0f, 100.0f, 9);
    EXPECT_EQ(count_set(fb), 10);
    draw_line(fb, -1.5f, 50.0f, 3.0f, 50.0f, 7);  // -1.5 lands off screen, -0.5 on column 0
    EXPECT_EQ(fb.at(0, 50), 7);
    EXPECT_EQ(fb.at(2, 50), 7);
    EXPECT_EQ(fb.at(3, 50), 0);
}

TEST(PlotSoftDot, WholeCoordinatesLightOnePixelAndOnlyBrighten) {
    FrameBuffer fb;
    fb.pixels[20 * 320 + 11] = 20;  // already brighter than the weight-0 colour 16
    plot_soft_dot(fb, 10.0f, 20.0f, 31.0f);
    EXPECT_EQ(fb.at(10, 20), 31);
    EXPECT_EQ(fb.at(11, 20), 20);
    EXPECT_EQ(fb.at(10, 21), 16);
    EXPECT_EQ(fb.at(11, 21), 16);

    FrameBuffer bright;
    bright.pixels[20 * 320 + 10] = 40;
    plot_soft_dot(bright, 10.0f, 20.0f, 31.0f);
    EXPECT_EQ(bright.at(10, 20), 40);
}

TEST(PlotSoftDot, HalfwaySpreadsEvenly) {
    FrameBuffer fb;
    plot_soft_dot(fb, 10.5f, 20.5f, 31.0f);  // each weight sqrt(0.25) = 0.5: 16 + 7.5
    EXPECT_EQ(fb.at(10, 20), 23);
    EXPECT_EQ(fb.at(11, 20), 23);
    EXPECT_EQ(fb.at(10, 21), 23);
    EXPECT_EQ(fb.at(11, 21), 23);
}

TEST(BlitSprite, ClipsAtTheRightAndBottomAndSkipsNegativeCorners) {
    FrameBuffer fb;
    blit_sprite(fb, 318, 0, five_wide());
    EXPECT_EQ(fb.at(318, 0), 1);
    EXPECT_EQ(fb.at(319, 0), 2);
    EXPECT_EQ(fb.at(318, 1), 6);
    EXPECT_EQ(fb.at(319, 1), 7);
    EXPECT_EQ(count_set(fb), 4);  // nothing wraps to column 0

    FrameBuffer left;
    blit_sprite(left, neg(-1), 10, five_wide());
    blit_sprite(left, 10, neg(-1), five_wide());
    EXPECT_EQ(count_set(left), 0);

    FrameBuffer bottom;
    blit_sprite(bottom, 0, 199, five_wide());
    EXPECT_EQ(count_set(bottom), 4);  // one row, the transparent pixel left alone
    EXPECT_EQ(bottom.at(2, 199), 0);
}

TEST(BlitSpriteWrapped, CrossesEachEdgeToTheOpposite) {
    FrameBuffer fb;
    blit_sprite_wrapped(fb, 318, 0, five_wide());
    EXPECT_EQ(fb.at(318, 0), 1);
    EXPECT_EQ(fb.at(319, 0), 2);
    EXPECT_EQ(fb.at(0, 0), 0);  // transparent
    EXPECT_EQ(fb.at(1, 0), 4);
    EXPECT_EQ(fb.at(2, 0), 5);
    EXPECT_EQ(fb.at(0, 1), 8);
    EXPECT_EQ(count_set(fb), 9);

    FrameBuffer up;
    blit_sprite_wrapped(up, -2, -1, five_wide());
    EXPECT_EQ(up.at(318, 199), 1);
    EXPECT_EQ(up.at(2, 199), 5);
    EXPECT_EQ(up.at(318, 0), 6);
    EXPECT_EQ(count_set(up), 9);
}
