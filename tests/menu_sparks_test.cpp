// The menu's spark rules: move before the test, blink unless a burst colour, the trail from
// the pointer and the colour bursts, and what a full pool takes.
#include <gtest/gtest.h>

#include <vector>

#include "screens/menu_sparks.h"

using namespace qvar;

TEST(MenuSparks, StepMovesRemovesAndBlinks) {
    struct Spark { float x, y, dx, dy; uint8_t colour; };
    struct Px { int x, y; uint8_t v; };
    struct Case { const char* what; std::vector<Spark> sparks; float phase; int count; std::vector<Px> want; };
    // At 101: trunc(101 / 26) = 3, odd; at 10: 0, even; 130 has bit 7 set. Phase 4 adds 1.
    const std::vector<Spark> blinkers = {{100, 100, 1, 0, 20}, {10, 100, 0, 0, 20}, {12, 100, 0, 0, 130}};
    const Case cases[] = {
        {"odd drawn, even hidden, bursts always", blinkers, 0.0f, 3, {{101, 100, 20}, {10, 100, 0}, {12, 100, 130}}},
        {"phase/4 shifts the pattern", blinkers, 4.0f, 3, {{101, 100, 0}, {10, 100, 20}, {12, 100, 130}}},
        {"the last spark takes a leaver's slot, drawn unmoved",
         {{319.5f, 50, 1, 0, 130}, {100, 100, 1, 0, 131}, {200, 20, 0, 1, 132}}, 0.0f, 2,
         {{200, 20, 132}, {200, 21, 0}, {101, 100, 131}, {319, 50, 0}}},
        {"a last spark leaving at the left is not drawn at -0.5", {{0.3f, 50, -0.8f, 0, 130}}, 0.0f, 0, {{0, 50, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SparkPool pool;
        for (const Spark& s : c.sparks) {
            const auto i = static_cast<size_t>(pool.count++);
            pool.x[i] = s.x, pool.y[i] = s.y, pool.dx[i] = s.dx, pool.dy[i] = s.dy, pool.colour[i] = s.colour;
        }
        FrameBuffer fb;
        menu_spark_step(pool, fb, c.phase);
        EXPECT_EQ(pool.count, c.count);
        for (const Px& p : c.want) EXPECT_EQ(fb.at(p.x, p.y), p.v) << "at " << p.x << "," << p.y;
    }
}

// Near a full pool a burst counts its colours from the first; when nothing fits, a trail
// draws no numbers but a decided burst still draws its centre and six weights.
TEST(MenuSparks, TrailAndBurstsInAFullPool) {
    SparkPool pool;
    pool.count = 9950;
    colour_burst(pool, 5.0f, 5.0f, {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_EQ(std::make_tuple(pool.count, pool.colour[9950], pool.colour[9999]), std::make_tuple(SPARK_CAPACITY, uint8_t{128}, uint8_t{177}));

    const Random zero{0, 1};  // the next state word is 1: random_int(80) = 0, a burst
    Random rng, burst = zero, eight = zero;
    const float cx = random_real(eight, 320.0f);
    for (int i = 0; i < 7; ++i) random_real(eight, 1.0f);
    spawn_trail(pool, rng, 1, 1, 0.0f);
    maybe_colour_burst(pool, burst);
    EXPECT_EQ(std::make_tuple(pool.count, rng.lcg, burst.lcg), std::make_tuple(SPARK_CAPACITY, Random{}.lcg, eight.lcg));

    SparkPool empty;
    maybe_colour_burst(empty, rng);  // the first random_int(80) of the initial state is 20: none
    EXPECT_EQ(empty.count, 0);
    burst = zero;
    maybe_colour_burst(empty, burst);
    EXPECT_EQ(std::make_tuple(empty.count, empty.x[0]), std::make_tuple(125, cx));
}

// Burst sparks slower than 0.1 squared are sent away and gone the next frame: with all six
// weights 0.5, those of red, green or blue level 1 alone and the one standing still.
TEST(MenuSparks, SlowBurstSparksVanish) {
    SparkPool slow;
    colour_burst(slow, 100.0f, 100.0f, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    for (size_t k : {0u, 1u, 5u, 25u}) EXPECT_EQ(slow.dx[k], 1000.0f) << k;
    EXPECT_NEAR(slow.dx[2], 1.0f / 3.0f, 1e-6f);
    FrameBuffer fb;
    menu_spark_step(slow, fb, 0.0f);
    EXPECT_EQ(slow.count, 121);
}
