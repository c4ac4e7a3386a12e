// The shot step: wrap-round, life, each weapon's effect, removal, and shots far off.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/shots.h"
#include "game_fixture.h"
#include "gfx/draw.h"

using namespace qvar;

TEST(ShotStep, WrapsStrictlyBeyondTheFarEdges) {
    EXPECT_FLOAT_EQ(wrap_shot_coord(320.0f, 320.0f), 320.0f);
    EXPECT_FLOAT_EQ(wrap_shot_coord(320.5f, 320.0f), 0.5f);
    EXPECT_FLOAT_EQ(wrap_shot_coord(-0.5f, 200.0f), 199.5f);
    test::GameFixture f;
    f.add_shot(319.5f, 10.0f, 0.5f, 0.0f, 10, 1);
    f.add_shot(319.5f, 10.0f, 1.0f, 0.0f, 10, 1);
    shot_step(f.sys(), *f.game);
    EXPECT_FLOAT_EQ(f.game->shots.x[0], 320.0f);
    EXPECT_FLOAT_EQ(f.game->shots.x[1], 0.5f);
}

TEST(ShotStep, PlainShotIsDrawnAndLivesItsFrames) {
    test::GameFixture f;
    f.add_shot(50.0f, 60.0f, 1.0f, 0.0f, 2, 1);
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(get_pixel(f.sys().frame, 51, 60), 14);  // centre of the 3x3 shot
    EXPECT_EQ(get_pixel(f.sys().frame, 50, 59), 2);
    EXPECT_EQ(f.game->shots.count, 1);
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(f.game->shots.count, 0);  // life 2 -> 0: removed
    f.add_shot(50.0f, 60.0f, 0.0f, 0.0f, 5, 5);
    f.sys().frame.clear();
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(get_pixel(f.sys().frame, 49, 59), 27);  // the 2x2 bullet
    EXPECT_EQ(get_pixel(f.sys().frame, 50, 59), 29);
}

TEST(ShotStep, SpentShotIsRemovedAndTheLastOneWaitsAFrame) {
    test::GameFixture f;
    f.add_shot(10.0f, 10.0f, 1.0f, 0.0f, 50, 1);
    f.add_shot(20.0f, 10.0f, 1.0f, 0.0f, 50, 1);
    f.add_shot(30.0f, 10.0f, 1.0f, 0.0f, 50, 1);
    f.game->shots.spent.set(0, 1);
    shot_step(f.sys(), *f.game);
    ASSERT_EQ(f.game->shots.count, 2);
    EXPECT_FLOAT_EQ(f.game->shots.x[0], 30.0f);  // moved in, not stepped this frame
    EXPECT_EQ(f.game->shots.spent.get(0), 0);
    EXPECT_FLOAT_EQ(f.game->shots.x[1], 21.0f);
}

TEST(ShotStep, FlameLeavesFlameDebrisAndMarksFoesInReach) {
    test::GameFixture f;
    f.add_foe(60.0f, 60.0f);    // 200 away squared: in reach
    f.add_foe(100.0f, 100.0f);  // far
    f.add_shot(49.5f, 49.5f, 0.5f, 0.5f, 30, 2);
    shot_step(f.sys(), *f.game);
    const DebrisPool& d = f.game->debris;
    ASSERT_EQ(d.count, 10);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(d.x[i], 50);
        EXPECT_EQ(d.y[i], 50);
        const uint8_t c = d.colour[i];
        EXPECT_TRUE((c >= 129 && c <= 132) || c == 137 || c == 142 || c == 147 || c == 152) << int(c);
    }
    EXPECT_EQ(f.game->foes.flamed.get(0), 1);
    EXPECT_EQ(f.game->foes.flamed.get(1), 0);
    const int32_t life = f.game->shots.life[0];
    EXPECT_TRUE(life == 29 || life == 28);
    for (uint8_t px : f.sys().frame.pixels) ASSERT_EQ(px, 0);  // a flame draws nothing itself

    f.game->debris.count = DEBRIS_CAPACITY - 4;
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(f.game->debris.count, DEBRIS_CAPACITY);
}

TEST(ShotStep, PlasmaSlowsGlowsAndAgesOnlyWhenSlow) {
    test::GameFixture f;
    f.add_foe(70.0f, 50.0f);  // 400 away squared: outside the plasma's 300
    f.add_foe(60.0f, 55.0f);  // 125: inside
    f.add_shot(50.0f, 50.0f, 2.0f, 0.0f, 20, 3);
    shot_step(f.sys(), *f.game);
    EXPECT_FLOAT_EQ(f.game->shots.dx[0], 1.96f);
    EXPECT_EQ(f.game->shots.life[0], 20);
    EXPECT_EQ(f.game->foes.plasma.get(0), 0);
    EXPECT_EQ(f.game->foes.plasma.get(1), 1);
    int glowing = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const uint8_t c = f.sys().frame.at(x, y);
            if (c == 0) continue;
            ++glowing;
            EXPECT_TRUE(c == 11 || (c >= 228 && c <= 237));
            EXPECT_LE(std::abs(x - 52), 5);
            EXPECT_LE(std::abs(y - 50), 5);
        }
    EXPECT_GT(glowing, 5);
    f.game->shots.dx[0] = 0.5f;
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(f.game->shots.life[0], 18);
}

TEST(ShotStep, WhiteHeatLeavesWhiteDebrisSparksAndMarks) {
    test::GameFixture f;
    f.sys().sparks.count = 0;
    f.add_foe(80.0f, 50.0f);  // 900 away squared: in reach
    f.add_shot(50.0f, 50.0f, 0.0f, 0.0f, 20, 4);
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(f.game->debris.count, 10);
    EXPECT_EQ(f.game->debris.colour[9], 15);
    ASSERT_EQ(f.sys().sparks.count, 4);
    for (size_t i = 0; i < 4; ++i) {
        const float v2 = f.sys().sparks.dx[i] * f.sys().sparks.dx[i] + f.sys().sparks.dy[i] * f.sys().sparks.dy[i];
        EXPECT_GE(v2, 1.0f - 1e-5f);
        EXPECT_LE(v2, 4.0f + 1e-5f);
        EXPECT_GE(f.sys().sparks.colour[i], 24);
    }
    EXPECT_EQ(f.game->foes.whitehot.get(0), 1);
    EXPECT_EQ(f.game->shots.life[0], 18);
    f.sys().sparks.count = SPARK_CAPACITY;
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(f.sys().sparks.count, SPARK_CAPACITY);
    EXPECT_EQ(f.game->debris.count, 20);
}

TEST(ShotStep, ShotsFarOffOrNotFiniteAreHarmless) {
    test::GameFixture f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (int kind = 1; kind <= 5; ++kind) {
        f.add_shot(1e30f, -1e30f, 1e10f, 1e10f, 3, kind);
        f.add_shot(nan, 10.0f, nan, nan, 3, kind);
        f.add_shot(10.0f, 10.0f, inf, -inf, 3, kind);
    }
    f.add_foe(10.0f, 10.0f);
    for (int frame = 0; frame < 10; ++frame) shot_step(f.sys(), *f.game);
    // Only the fast plasma ball is left: it does not age until it slows below 1. A ball
    // with a speed that is not a number or infinite ages at once.
    ASSERT_EQ(f.game->shots.count, 1);
    EXPECT_EQ(f.game->shots.kind[0], 3);
    EXPECT_EQ(f.game->shots.life[0], 3);
}
