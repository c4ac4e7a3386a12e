// The foe pass: motion and wrap-round, burning and its debris, foes born during the pass, the
// quick sprite path, and the sound answers where the rules would divide by zero.
#include <gtest/gtest.h>

#include "world/world_internal.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

TEST(FoeMotion, WrapIsStrictOnTheFarEdgesAndBringsBackAnyVelocity) {
    WorldRig rig({{ROCK, 1, 319.5f, 199.5f, 0.5f, 0.5f}, {WHEEL, 4, 100.0f, 100.0f, 1000.5f, -777.25f}});
    const FoePool& f = rig.foes();
    const std::pair<float, float> path[] = {{320.0f, 200.0f}, {0.5f, 0.5f}, {1.0f, 1.0f}};  // 320, 200: on the field
    for (const auto& [x, y] : path) {
        rig.pass();
        EXPECT_TRUE(f.x[0] == x && f.y[0] == y) << f.x[0] << "," << f.y[0];
        EXPECT_TRUE(f.x[1] >= 0 && f.x[1] <= 320 && f.y[1] >= 0 && f.y[1] <= 200);
    }
}

// (Rocks, darts and spinners burning are pinned by the recorded games.)
TEST(Burning, DebrisPerEffectByKindAndSizeOnTheFieldAsFarAsThePoolHolds) {
    struct Case { int32_t kind, gen; bool flame, plasma, white; int32_t dots; };
    const Case cases[] = {
        {BLOCK, 0, 1, 0, 0, 1}, {BLOCK, 1, 0, 1, 0, 3}, {BLOCK, 2, 1, 0, 0, 5}, {WEB, 3, 1, 1, 1, 14},
        {LODESTONE, 19, 0, 0, 1, 40}, {ROCK, 15, 1, 0, 0, DEBRIS_CAPACITY},  // the last with 9998 dots before
    };
    for (const Case& c : cases) {
        WorldRig rig({{c.kind, c.gen, 2.0f, 198.0f}});  // across two edges
        rig.foes().flamed.set(0, c.flame), rig.foes().plasma.set(0, c.plasma), rig.foes().whitehot.set(0, c.white);
        rig.player().invincible = 9;
        DebrisPool& d = rig.game->debris;
        d.count = c.dots == DEBRIS_CAPACITY ? DEBRIS_CAPACITY - 2 : 0;
        rig.pass();
        EXPECT_EQ(d.count, c.dots) << "kind " << c.kind << " gen " << c.gen;
        for (int32_t k = 0; k < d.count; ++k) ASSERT_TRUE(d.x[k] >= 0 && d.x[k] < 320 && d.y[k] >= 0 && d.y[k] < 200);
    }
}

// (Pellets' aim off the ship, their lifetime and the triangles' homing are pinned by the
// recorded games.)
TEST(Pellets, ASaucerOnTheShipFiresAPelletThatOnlyDrifts) {
    WorldRig rig({{SAUCER, 0, 100.0f, 100.0f, 0.25f, 0.0f}});
    // The saucer's draws: no course change (1 in 100), then firing (1 in 75).
    for (Random p = rig.sys->rng; random_int(p, 100) == 0 || random_int(p, 75) != 0; p = rig.sys->rng)
        random_int(rig.sys->rng, 2);
    rig.ship_at(100.25f, 100.0f);  // exactly where the saucer moves to
    rig.player().invincible = 1000;
    rig.pass();
    ASSERT_EQ(rig.foes().count, 2);
    const FoePool& f = rig.foes();
    EXPECT_TRUE(f.kind[1] == PELLET && f.gen[1] == 99);  // born, and stepped in the same pass
    EXPECT_TRUE(qvar::test::all_finite(*rig.game, rig.sparks()) && std::fabs(f.dx[1] - 0.25f) <= 0.5f && f.dy[1] < 0.5f);
}

TEST(Triangles, OnTheShipsExactSpotTheyCoast) {
    WorldRig rig({{TRIANGLE, 1, 160, 100}});
    rig.player().invincible = 10;
    rig.pass();
    EXPECT_TRUE(rig.foes().dx[0] == 0.0f && qvar::test::all_finite(*rig.game, rig.sparks()));
}
