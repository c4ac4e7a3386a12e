// The game's spark step and the bursts: culling at the edges, full pools, odd values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/sparks.h"
#include "gfx/draw.h"

using namespace qvar;

namespace {

void add_spark(SparkPool& s, float x, float y, float dx, float dy, uint8_t colour) {
    const auto i = static_cast<size_t>(s.count++);
    s.x[i] = x;
    s.y[i] = y;
    s.dx[i] = dx;
    s.dy[i] = dy;
    s.colour[i] = colour;
}

int count_colour(const FrameBuffer& fb, uint8_t colour) {
    int n = 0;
    for (uint8_t p : fb.pixels) n += p == colour;
    return n;
}

}  // namespace

TEST(SparkStep, MovesThenDrawsAndCullsOnTheNextFrame) {
    auto sparks = std::make_unique<SparkPool>();
    FrameBuffer fb;
    add_spark(*sparks, 10.5f, 20.5f, 1.0f, -1.0f, 77);
    spark_step(*sparks, fb);
    EXPECT_EQ(get_pixel(fb, 11, 19), 77);
    EXPECT_EQ(sparks->count, 1);

    // Crossing the right edge: drawn once more (clipped away), removed in the next frame.
    SparkPool& s = *sparks;
    s.count = 0;
    fb.clear();
    add_spark(s, 319.9f, 50.0f, 1.0f, 0.0f, 77);
    spark_step(s, fb);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(count_colour(fb, 77), 0);
    spark_step(s, fb);
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(count_colour(fb, 77), 0);
}

TEST(SparkStep, TheSparkSwappedInIsMovedAndDrawnUntested) {
    auto sparks = std::make_unique<SparkPool>();
    FrameBuffer fb;
    add_spark(*sparks, -1.0f, 5.0f, 0.0f, 0.0f, 1);   // off the field
    add_spark(*sparks, 50.0f, 60.0f, 2.0f, 0.0f, 9);  // swapped into slot 0
    spark_step(*sparks, fb);
    ASSERT_EQ(sparks->count, 1);
    EXPECT_FLOAT_EQ(sparks->x[0], 52.0f);
    EXPECT_EQ(get_pixel(fb, 52, 60), 9);
}

TEST(SparkStep, NonFiniteAndFarSparksAreDroppedSafely) {
    auto sparks = std::make_unique<SparkPool>();
    FrameBuffer fb;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    add_spark(*sparks, nan, 5.0f, 0.0f, 0.0f, 3);
    add_spark(*sparks, 5.0f, 5.0f, 1e30f, -1e30f, 4);  // leaves at once, drawn nowhere
    add_spark(*sparks, 5.0f, 5.0f, std::numeric_limits<float>::infinity(), 0.0f, 5);
    for (int frame = 0; frame < 3; ++frame) spark_step(*sparks, fb);  // one swapped in per frame
    EXPECT_EQ(sparks->count, 0);
    EXPECT_EQ(count_colour(fb, 3) + count_colour(fb, 4) + count_colour(fb, 5), 0);
}

TEST(SparkBursts, FullPoolTakesNoneAndNearlyFullTakesWhatFits) {
    auto sparks = std::make_unique<SparkPool>();
    Random rng;
    sparks->count = SPARK_CAPACITY;
    ring_burst(*sparks, rng, 10.0f, 10.0f, 1000, 1);
    respawn_burst(*sparks, rng);
    EXPECT_EQ(sparks->count, SPARK_CAPACITY);
    sparks->count = SPARK_CAPACITY - 300;
    ring_burst(*sparks, rng, 10.0f, 20.0f, 1000, 1);
    EXPECT_EQ(sparks->count, SPARK_CAPACITY);
    EXPECT_FLOAT_EQ(sparks->y[SPARK_CAPACITY - 1], 20.0f);
    EXPECT_EQ(sparks->colour[SPARK_CAPACITY - 1], 1);
}

TEST(SparkBursts, RespawnSparksLeaveTheCentreFast) {
    auto sparks = std::make_unique<SparkPool>();
    Random rng;
    respawn_burst(*sparks, rng);
    ASSERT_EQ(sparks->count, 1000);
    for (size_t i = 0; i < 1000; ++i) {
        const float v2 = sparks->dx[i] * sparks->dx[i] + sparks->dy[i] * sparks->dy[i];
        EXPECT_GE(v2, 20.0f);
        EXPECT_LE(v2, 25.0f);
        EXPECT_FLOAT_EQ(sparks->x[i], 160.0f);
    }
}
