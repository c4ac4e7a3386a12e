// The menu's spark rules: move before the test, blink unless a burst colour, the trail from
// the pointer and the colour bursts, and what a full pool takes.
#include <gtest/gtest.h>

#include <cmath>

#include "screens/menu_sparks.h"
#include "util/numeric.h"

using namespace qvar;

namespace {

void add(SparkPool& p, float x, float y, float dx, float dy, uint8_t colour) {
    auto i = static_cast<size_t>(p.count++);
    p.x[i] = x;
    p.y[i] = y;
    p.dx[i] = dx;
    p.dy[i] = dy;
    p.colour[i] = colour;
}

int count_set(const FrameBuffer& fb) {
    int n = 0;
    for (uint8_t p : fb.pixels) n += p != 0 ? 1 : 0;
    return n;
}

}  // namespace

TEST(MenuSparks, MoveThenBlinkUnlessBurstColour) {
    SparkPool pool;
    add(pool, 100.0f, 100.0f, 1.0f, 0.0f, 20);  // at 101: trunc(101 / 26) = 3, odd
    add(pool, 10.0f, 100.0f, 0.0f, 0.0f, 20);   // trunc(10 / 26) = 0, even
    add(pool, 12.0f, 100.0f, 0.0f, 0.0f, 130);  // even too, but bit 7 is set
    FrameBuffer fb;
    menu_spark_step(pool, fb, 0.0f);
    EXPECT_EQ(pool.x[0], 101.0f);
    EXPECT_EQ(fb.at(101, 100), 20);
    EXPECT_EQ(fb.at(10, 100), 0);
    EXPECT_EQ(fb.at(12, 100), 130);
    EXPECT_EQ(count_set(fb), 2);

    FrameBuffer later;
    menu_spark_step(pool, later, 4.0f);  // phase/4 = 1 shifts the pattern
    EXPECT_EQ(later.at(10, 100), 20);
    EXPECT_EQ(later.at(102, 100), 0);  // trunc(1 + 102/26) = 4
}

TEST(MenuSparks, RemovedSparkIsReplacedByTheLastOneUnmoved) {
    SparkPool pool;
    add(pool, 319.5f, 50.0f, 1.0f, 0.0f, 130);  // leaves the screen this frame
    add(pool, 100.0f, 100.0f, 1.0f, 0.0f, 131);
    add(pool, 200.0f, 20.0f, 0.0f, 1.0f, 132);
    FrameBuffer fb;
    menu_spark_step(pool, fb, 0.0f);
    ASSERT_EQ(pool.count, 2);
    EXPECT_EQ(pool.colour[0], 132);
    EXPECT_EQ(pool.y[0], 20.0f);  // drawn where it was, moved only next frame
    EXPECT_EQ(fb.at(200, 20), 132);
    EXPECT_EQ(fb.at(200, 21), 0);
    EXPECT_EQ(pool.x[1], 101.0f);
    EXPECT_EQ(fb.at(101, 100), 131);
    EXPECT_EQ(count_set(fb), 2);
}

TEST(MenuSparks, ALastSparkLeavingThroughTheLeftIsNotDrawnAtColumnZero) {
    SparkPool pool;
    add(pool, 0.3f, 50.0f, -0.8f, 0.0f, 130);  // x = -0.5 would truncate onto column 0
    FrameBuffer fb;
    menu_spark_step(pool, fb, 0.0f);
    EXPECT_EQ(pool.count, 0);
    EXPECT_EQ(count_set(fb), 0);
}

TEST(MenuSparks, TrailLeavesThePointerAtSpeedOneColouredByAngle) {
    SparkPool pool;
    Random rng;
    const float phase = 3.0f;
    spawn_trail(pool, rng, 50, 60, phase);
    ASSERT_EQ(pool.count, 10);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(pool.x[i], 50.0f);
        EXPECT_EQ(pool.y[i], 60.0f);
        EXPECT_NEAR(pool.dx[i] * pool.dx[i] + pool.dy[i] * pool.dy[i], 1.0f, 1e-5f);
        float a = std::atan2(pool.dy[i], pool.dx[i]);
        if (a < 0.0f) a += 6.2831855f;
        const int expected = 16 + mod_floor(static_cast<int>(8.0f * a / 3.14159265f + phase), 16);
        EXPECT_EQ(pool.colour[i], expected) << i;
    }
}

TEST(MenuSparks, FullPoolTakesNoTrailAndDrawsNoNumbers) {
    SparkPool pool;
    pool.count = 9995;
    Random rng;
    spawn_trail(pool, rng, 1, 1, 0.0f);
    EXPECT_EQ(pool.count, SPARK_CAPACITY);
    const Random before = rng;
    spawn_trail(pool, rng, 1, 1, 0.0f);
    EXPECT_EQ(pool.count, SPARK_CAPACITY);
    EXPECT_EQ(rng.lcg, before.lcg);
}

TEST(MenuSparks, BurstVelocityFollowsTheCubeColour) {
    SparkPool pool;
    const float w[6] = {1.0f, 0.0f, 0.0f, 1.0f, -1.0f, 0.0f};
    colour_burst(pool, 100.0f, 50.0f, w);
    ASSERT_EQ(pool.count, 125);
    const size_t j = 1 + 5 * 2 + 25 * 3;  // red 1, green 2, blue 3
    EXPECT_EQ(pool.colour[j], 128 + j);
    EXPECT_FLOAT_EQ(pool.dx[j], -2.0f / 3.0f);
    EXPECT_FLOAT_EQ(pool.dy[j], 2.0f / 3.0f);
    EXPECT_EQ(pool.x[j], 100.0f);
    EXPECT_EQ(pool.y[j], 50.0f);
    EXPECT_EQ(pool.colour[124], 252);
}

TEST(MenuSparks, SlowBurstSparksAreSentAwayAndVanishNextFrame) {
    SparkPool pool;
    const float w[6] = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    colour_burst(pool, 100.0f, 100.0f, w);
    EXPECT_EQ(pool.dx[0], 1000.0f);  // standing still
    EXPECT_EQ(pool.dx[1], 1000.0f);  // speed squared 0.056 < 0.1
    EXPECT_EQ(pool.dx[5], 1000.0f);  // green 1, as slow
    EXPECT_EQ(pool.dx[25], 1000.0f);  // blue 1
    EXPECT_NEAR(pool.dx[2], 1.0f / 3.0f, 1e-6f);
    FrameBuffer fb;
    menu_spark_step(pool, fb, 0.0f);
    EXPECT_EQ(pool.count, 121);
    for (int32_t i = 0; i < pool.count; ++i) EXPECT_NE(pool.dx[static_cast<size_t>(i)], 1000.0f);
}

TEST(MenuSparks, BurstNearAFullPoolCountsFromTheFirstColour) {
    SparkPool pool;
    pool.count = 9950;
    const float w[6] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    colour_burst(pool, 5.0f, 5.0f, w);
    EXPECT_EQ(pool.count, SPARK_CAPACITY);
    EXPECT_EQ(pool.colour[9950], 128);
    EXPECT_EQ(pool.colour[9999], 177);
    colour_burst(pool, 5.0f, 5.0f, w);
    EXPECT_EQ(pool.count, SPARK_CAPACITY);
}

TEST(MenuSparks, BurstOnlyWhenTheDrawIsZeroAndItsNumbersAreDrawnEvenWhenFull) {
    SparkPool pool;
    Random rng;  // first random_int(80) of the initial state is 20: no burst
    maybe_colour_burst(pool, rng);
    EXPECT_EQ(pool.count, 0);
    EXPECT_EQ(rng.lcg, Random{}.lcg);

    Random zero;
    zero.s1 = 0;
    zero.s2 = 1;  // the next state word is 1: random_int(80) = 0
    Random expected = zero;
    const float cx = random_real(expected, 320.0f);
    maybe_colour_burst(pool, zero);
    EXPECT_EQ(pool.count, 125);
    EXPECT_EQ(pool.x[0], cx);

    SparkPool full;
    full.count = SPARK_CAPACITY;
    Random again;
    again.s1 = 0;
    again.s2 = 1;
    Random eight = again;
    for (int i = 0; i < 8; ++i) random_real(eight, 1.0f);  // centre and six weights
    maybe_colour_burst(full, again);
    EXPECT_EQ(full.count, SPARK_CAPACITY);
    EXPECT_EQ(again.lcg, eight.lcg);
}
