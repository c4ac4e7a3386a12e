// The field foes: repeller reversal and ring, cell crowding and division, the gen-0 shell,
// spinner hits and pulls, lodestone attraction, merging and swallowing.
#include <gtest/gtest.h>

#include <cmath>

#include "world/world.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

TEST(Repeller, TurnsBackEverythingWithinFiftyPixels) {
    WorldRig rig;
    rig.add_foe(REPELLER, 0, 100.0f, 100.0f);
    const int32_t near_rock = rig.add_foe(ROCK, 1, 120.0f, 100.0f, 0.3f, 0.2f);
    rig.foes().spin[static_cast<size_t>(near_rock)] = 0.02f;
    rig.add_foe(ROCK, 1, 151.0f, 100.0f, 0.3f, 0.0f);
    rig.add_shot(149.0f, 100.0f, 1.0f, 0.5f);  // 49 pixels away: the trigger
    rig.add_shot(100.0f, 151.0f, 1.0f, 0.5f);
    SparkPool& sp = rig.sparks();
    sp.count = 2;
    sp.x[0] = 90.0f, sp.y[0] = 90.0f, sp.dx[0] = 2.0f, sp.dy[0] = -1.0f;
    sp.x[1] = 10.0f, sp.y[1] = 10.0f, sp.dx[1] = 2.0f, sp.dy[1] = -1.0f;
    rig.add_bonus(3, 70.0f, 100.0f, 0.5f, 0.5f);
    rig.player().ship_x = 130.0f;
    rig.player().ship_vx = 1.5f;
    rig.player().ship_vy = -0.5f;
    rig.game->debris.count = 9950;
    rig.pass();
    const FoePool& f = rig.foes();
    EXPECT_FLOAT_EQ(f.dx[1], -0.3f);
    EXPECT_FLOAT_EQ(f.dy[1], -0.2f);
    EXPECT_FLOAT_EQ(f.spin[1], -0.02f);
    EXPECT_FLOAT_EQ(f.x[1], 119.7f);  // it moves with its turned velocity in the same pass
    EXPECT_FLOAT_EQ(f.dx[2], 0.3f);
    EXPECT_FLOAT_EQ(rig.shots().dx[0], -1.0f);
    EXPECT_FLOAT_EQ(rig.shots().dy[0], -0.5f);
    EXPECT_FLOAT_EQ(rig.shots().dx[1], 1.0f);
    EXPECT_FLOAT_EQ(sp.dx[0], -2.0f);
    EXPECT_FLOAT_EQ(sp.dx[1], 2.0f);
    EXPECT_FLOAT_EQ(rig.game->boni.dx[0], -0.5f);
    EXPECT_FLOAT_EQ(rig.player().ship_vx, -1.5f);
    EXPECT_FLOAT_EQ(rig.player().ship_vy, 0.5f);
    // 50 ring dots fit, at k = 9950 ... 9999 round the repeller.
    const DebrisPool& d = rig.game->debris;
    ASSERT_EQ(d.count, DEBRIS_CAPACITY);
    for (int32_t k = 9950; k < 10000; ++k) {
        const float a = 6.2831854820251465f * static_cast<float>(k) / 80.0f;
        EXPECT_EQ(d.x[static_cast<size_t>(k)], static_cast<int32_t>(100.0f + 50.0f * std::cos(a)));
        EXPECT_EQ(d.y[static_cast<size_t>(k)], static_cast<int32_t>(100.0f + 50.0f * std::sin(a)));
        EXPECT_EQ(d.colour[static_cast<size_t>(k)], 7);
    }
}

TEST(Repeller, QuietWhenNothingComesNear) {
    WorldRig rig;
    rig.add_foe(REPELLER, 0, 100.0f, 100.0f);
    rig.add_foe(ROCK, 1, 120.0f, 100.0f, 0.3f, 0.2f);
    rig.add_shot(150.0f, 100.0f, 1.0f, 0.5f);  // exactly 50: not within
    rig.pass();
    EXPECT_FLOAT_EQ(rig.foes().dx[1], 0.3f);
    EXPECT_EQ(rig.game->debris.count, 0);
}

namespace {

int32_t cells_after(float x1, float y1, float x2, float y2, int frames) {
    WorldRig rig;
    rig.add_foe(CELL, 0, x1, y1);
    rig.add_foe(CELL, 0, x2, y2);
    for (int i = 0; i < frames; ++i) rig.pass();
    return rig.foes().count;
}

}  // namespace

TEST(Cells, CrowdingHoldsDivisionBack) {
    EXPECT_EQ(cells_after(100.0f, 100.0f, 120.0f, 100.0f, 400), 2);  // 20 apart: about 2494
    EXPECT_EQ(cells_after(100.0f, 100.0f, 140.0f, 100.0f, 100), 2);  // 40 apart: about 624
    EXPECT_GT(cells_after(100.0f, 100.0f, 140.0f, 100.0f, 101), 2);  // ... divide at -101
    // Across the edges: x = 5 and 315 are 10 pixels apart, y = 3 and 197 are 6.
    EXPECT_EQ(cells_after(5.0f, 100.0f, 315.0f, 100.0f, 400), 2);
    EXPECT_EQ(cells_after(100.0f, 3.0f, 100.0f, 197.0f, 400), 2);
    EXPECT_GT(cells_after(5.0f, 100.0f, 165.0f, 100.0f, 101), 2);
}

TEST(Cells, DividedCellIsVisitedInTheSamePass) {
    WorldRig rig;
    rig.add_foe(CELL, -100, 100.0f, 100.0f, 0.0f, 0.0f);
    rig.foes().whitehot.set(0, 1);
    qvar::test::advance_until(rig.sys->rng, 300, [](int32_t r) { return r != 0; });
    rig.pass();
    ASSERT_EQ(rig.foes().count, 2);
    EXPECT_EQ(rig.foes().gen[0], 0);
    EXPECT_EQ(rig.foes().gen[1], 0);  // born at 0, at once crowded by its parent: held at 0
    EXPECT_TRUE(rig.foes().whitehot.get(1));
    EXPECT_FLOAT_EQ(rig.foes().dx[0] + rig.foes().dx[1], 0.0f);
}

TEST(Cells, DivisionInAFullPoolWritesNothingBeyondIt) {
    WorldRig rig;
    for (int i = 0; i < FOE_CAPACITY - 1; ++i) rig.add_foe(PELLET, 1000, 300.0f, 190.0f);
    rig.add_foe(CELL, -100, 100.0f, 100.0f, 0.25f, 0.0f);
    rig.pass();
    EXPECT_EQ(rig.foes().count, FOE_CAPACITY);
    EXPECT_EQ(rig.foes().gen[FOE_CAPACITY - 1], 0);  // it starts over instead
    EXPECT_NEAR(rig.foes().dx[FOE_CAPACITY - 1], 0.25f * 0.99f, 1e-6f);
}

TEST(Cells, ShellTurnsTheFirstShotAsideAndTheSecondKills) {
    WorldRig rig;
    rig.add_foe(CELL, 1, 100.0f, 100.0f);  // counts down to 0 in its step
    rig.add_shot(101.0f, 100.0f, 2.0f, -1.0f);
    rig.add_shot(99.0f, 100.0f, 0.0f, 0.0f);
    rig.pass_and_hits();
    ASSERT_EQ(rig.game->hits.count, 2);
    EXPECT_EQ(rig.game->hits.foe[0], -1);
    EXPECT_EQ(rig.game->hits.foe[1], 0);
    EXPECT_EQ(rig.foes().gen[0], 50);
    EXPECT_FLOAT_EQ(rig.foes().dx[0], 0.4f);
    EXPECT_FLOAT_EQ(rig.foes().dy[0], -0.2f);
    EXPECT_TRUE(rig.shots().spent.get(0));
    EXPECT_TRUE(rig.foes().dead.get(0));
    destroy_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.player().score, 10);
    EXPECT_EQ(rig.sparks().count, 200);

    WorldRig once;
    once.add_foe(CELL, 1, 100.0f, 100.0f);
    once.add_shot(100.0f, 106.9f);
    once.pass_and_hits();
    EXPECT_FALSE(once.foes().dead.get(0));
    EXPECT_TRUE(once.shots().spent.get(0));
}

TEST(Spinners, TheHitThatLiftsTheSpinAboveEightTenthsDestroys) {
    WorldRig rig;
    rig.add_foe(SPINNER, 0, 100.0f, 100.0f);
    rig.foes().spin[0] = 0.75f;
    rig.add_shot(103.0f, 100.0f);
    rig.pass_and_hits();
    EXPECT_NEAR(rig.foes().spin[0], 0.75f * 0.997f + 0.1f, 1e-6f);
    ASSERT_EQ(rig.game->hits.count, 1);
    EXPECT_EQ(rig.game->hits.foe[0], 0);
    destroy_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.foes().count, 0);
    EXPECT_EQ(rig.player().score, 250);

    WorldRig slow;
    slow.add_foe(SPINNER, 0, 100.0f, 100.0f);
    slow.add_shot(103.0f, 100.0f);
    slow.pass_and_hits();
    EXPECT_EQ(slow.game->hits.foe[0], -1);
    EXPECT_FALSE(slow.foes().dead.get(0));
    EXPECT_TRUE(slow.shots().spent.get(0));
}

TEST(Spinners, PullsFoesShotsAndShipAndSpraysAJet) {
    WorldRig rig;
    rig.add_foe(SPINNER, 0, 100.0f, 100.0f);
    rig.add_foe(ROCK, 1, 105.0f, 100.0f);  // 5 pixels: the floor of 100 applies
    rig.add_shot(100.0f, 100.0f, 1.0f, 0.0f);  // on the centre: no direction, no pull
    rig.add_shot(100.0f, 130.0f, 0.0f, 0.0f);
    rig.player().ship_x = 100.0f;
    rig.player().ship_y = 102.0f;
    rig.player().invincible = 5;
    rig.pass();
    EXPECT_FLOAT_EQ(rig.foes().dx[1], -0.015f);
    EXPECT_FLOAT_EQ(rig.shots().dx[0], 1.0f);
    EXPECT_FLOAT_EQ(rig.shots().dy[0], 0.0f);
    EXPECT_FLOAT_EQ(rig.shots().dy[1], 3.0f * -30.0f / 900.0f);
    EXPECT_FLOAT_EQ(rig.player().ship_vy, 0.3f * -2.0f / 100.0f);
    EXPECT_EQ(rig.sparks().count, 5);
    EXPECT_TRUE(qvar::test::all_finite(*rig.game, rig.sparks()));
}

TEST(Lodestones, MergeAtTheMassWeightedCentreBelowTwenty) {
    WorldRig rig;
    rig.add_foe(LODESTONE, 11, 100.0f, 100.0f, 0.5f, 0.0f);
    rig.add_foe(LODESTONE, 8, 120.0f, 100.0f, -0.5f, 0.25f);  // 20 < (34 + 28) / 2 = 31
    rig.pass();
    ASSERT_EQ(rig.foes().count, 1);
    const FoePool& f = rig.foes();
    EXPECT_EQ(f.gen[0], 19);
    EXPECT_FLOAT_EQ(f.x[0], (11.0f * 100.5f + 8.0f * 120.0f) / 19.0f);
    EXPECT_FLOAT_EQ(f.dx[0], (11.0f * 0.5f + 8.0f * -0.5f) / 19.0f);
    EXPECT_FLOAT_EQ(f.dy[0], (8.0f * 0.25f) / 19.0f);
}

TEST(Lodestones, HeavyPairsIgnoreEachOtherAndLightOnesAttract) {
    WorldRig heavy;
    heavy.add_foe(LODESTONE, 12, 100.0f, 100.0f);
    heavy.add_foe(LODESTONE, 8, 120.0f, 100.0f);
    heavy.pass();
    EXPECT_EQ(heavy.foes().count, 2);
    EXPECT_FLOAT_EQ(heavy.foes().dx[0], 0.0f);
    EXPECT_FLOAT_EQ(heavy.foes().dx[1], 0.0f);

    WorldRig light;
    light.add_foe(LODESTONE, 11, 100.0f, 100.0f);
    light.add_foe(LODESTONE, 8, 160.0f, 100.0f);
    light.pass();
    EXPECT_EQ(light.foes().count, 2);
    // Each of the two pulls the pair once in its own step: twice the inverse-square pull.
    EXPECT_NEAR(light.foes().dx[0], 2.0f * 8.0f / 3600.0f, 1e-6f);
    EXPECT_NEAR(light.foes().dx[1], -2.0f * 11.0f / 3600.0f, 1e-6f);
}

TEST(Lodestones, MergingPairSwallowsBoniByTheSumOfTheirSizes) {
    WorldRig rig;
    rig.add_foe(LODESTONE, 1, 100.0f, 100.0f);
    rig.add_foe(LODESTONE, 1, 104.0f, 100.0f);
    rig.add_bonus(6, 102.0f, 103.0f);  // 9 < 10 + 10: swallowed
    rig.add_bonus(7, 102.0f, 105.0f);  // 25 > 20: kept
    rig.pass();
    ASSERT_EQ(rig.foes().count, 1);
    EXPECT_FLOAT_EQ(rig.foes().x[0], 102.0f);
    ASSERT_EQ(rig.game->boni.count, 1);
    EXPECT_EQ(rig.game->boni.kind[0], 7);
}

TEST(Lodestones, LastFoeAbsorbingOneBelowGoesOnInItsNewSlot) {
    WorldRig rig;
    rig.add_foe(LODESTONE, 1, 50.0f, 50.0f);
    rig.add_foe(LODESTONE, 1, 61.0f, 50.0f, -2.0f, 0.0f);  // not touching yet when slot 0 looks
    rig.foes().flamed.set(1, 1);
    rig.add_shot(56.0f, 50.0f);  // outside the small one, inside the merged one
    // Its flame kills it this frame (the first draw of the pass is its death draw).
    qvar::test::advance_until(rig.sys->rng, 150, [](int32_t r) { return r == 0; });
    rig.pass();
    ASSERT_EQ(rig.foes().count, 1);
    EXPECT_EQ(rig.foes().gen[0], 2);
    EXPECT_TRUE(rig.foes().flamed.get(0));
    EXPECT_TRUE(rig.foes().dead.get(0));  // its mark came with it
    EXPECT_FALSE(rig.foes().dead.get(1));
    ASSERT_EQ(rig.game->hits.count, 1);
    EXPECT_EQ(rig.game->hits.foe[0], 0);  // its shot test ran in its new slot
    apply_hit_pairs(*rig.game);
    destroy_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.foes().count, 2);  // two lodestones of gen 1
    EXPECT_EQ(rig.player().score, 5);
}
