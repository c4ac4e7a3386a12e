// The field foes' worked examples and what the fast-pass equivalence test cannot reach: exact
// limits, the effect bits, a full pool, the ship, and what the later steps make of the pass.
#include <gtest/gtest.h>

#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

// (Turning back everything within reach, the ship included, and where the ring's dots fall
// are pinned by the equivalence test and the recorded games.)
TEST(Repeller, SetOffByAShotCloserThanFiftyPixelsIntoAGreyRing) {
    for (const float shot_x : {149.0f, 150.0f}) {
        WorldRig rig({{REPELLER, 0, 100, 100}});
        rig.add_shot(shot_x, 100.0f, 1.0f, 0.5f);
        rig.ship_at(160.0f, 100.0f);
        rig.pass();
        const DebrisPool& d = rig.game->debris;
        ASSERT_EQ(d.count, shot_x < 150.0f ? 80 : 0) << shot_x;
        for (int32_t k = 0; k < d.count; ++k) EXPECT_EQ(d.colour[k], 7) << k;
    }
}

// (Crowding, division, the shell, merging and the spinner's spin are pinned by the equivalence test.)
TEST(Cells, AFullPoolOnlyRestartsTheCountdown) {
    WorldRig full;
    for (int i = 0; i < FOE_CAPACITY - 1; ++i) full.add_foe(PELLET, 1000, 300.0f, 190.0f);
    full.add_foe(CELL, -100, 100.0f, 100.0f, 0.25f, 0.0f);
    full.pass();  // it keeps its velocity
    const FoePool& f = full.foes();
    EXPECT_TRUE(f.count == FOE_CAPACITY && f.gen[FOE_CAPACITY - 1] == 0 && f.dx[FOE_CAPACITY - 1] == 0.25f * 0.99f);
}

TEST(Cells, DividedCellIsVisitedInTheSamePass) {
    WorldRig rig({{CELL, -100, 100.0f, 100.0f}});
    rig.foes().whitehot.set(0, 1);
    qvar::test::advance_until(rig.sys->rng, 300, [](int32_t r) { return r != 0; });
    rig.pass();
    ASSERT_EQ(rig.foes().count, 2);
    // Born at 0 and at once crowded by its parent, it is held at 0; it burns like its parent.
    EXPECT_TRUE(rig.foes().gen[0] == 0 && rig.foes().gen[1] == 0 && rig.foes().whitehot.get(1));
    EXPECT_FLOAT_EQ(rig.foes().dx[0] + rig.foes().dx[1], 0.0f);
}

TEST(Cells, ShellTurnsTheFirstShotAsideAndTheSecondKills) {
    WorldRig rig({{CELL, 1, 100.0f, 100.0f}});  // counts down to 0 in its step
    rig.add_shot(100.0f, 106.9f, 2.0f, -1.0f);  // within 7 pixels
    rig.add_shot(99.0f, 100.0f);
    rig.pass_and_hits();
    ASSERT_EQ(rig.hits().count, 2);
    EXPECT_TRUE(rig.hits().foe[0] == -1 && rig.foes().gen[0] == 50 && rig.shots().spent.get(0));
    EXPECT_TRUE(rig.foes().dx[0] == 0.4f && rig.foes().dy[0] == -0.2f && rig.foes().dead.get(0));
}

TEST(Spinners, PullFoesShotsAndShipButNotAShotOnTheCentre) {
    WorldRig rig({{SPINNER, 0, 100.0f, 100.0f}, {ROCK, 1, 105.0f, 100.0f}});  // 5 pixels: the floor of 100 applies
    rig.add_shot(100.0f, 100.0f, 1.0f, 0.0f);  // on the centre: no direction, no pull
    rig.add_shot(100.0f, 130.0f);
    rig.ship_at(100.0f, 102.0f);
    rig.player().invincible = 5;
    rig.pass();  // and the jet of 5 sparks
    EXPECT_TRUE(rig.foes().dx[1] == -0.015f && rig.shots().dy[1] == 3.0f * -30.0f / 900.0f && rig.player().ship_vy == 0.3f * -2.0f / 100.0f);
    EXPECT_TRUE(rig.shots().dx[0] == 1.0f && rig.shots().dy[0] == 0.0f && rig.sparks().count == 5);
    EXPECT_TRUE(qvar::test::all_finite(*rig.game, rig.sparks()));
}

TEST(Lodestones, LastFoeAbsorbingOneBelowGoesOnInItsNewSlot) {
    WorldRig rig({{LODESTONE, 1, 50, 50}, {LODESTONE, 1, 61, 50, -2.0f, 0.0f}});  // not touching when slot 0 looks
    rig.foes().flamed.set(1, 1);
    rig.add_shot(56.0f, 50.0f);  // outside the small one, inside the merged one
    // Its flame kills it this frame (the first draw of the pass is its death draw).
    qvar::test::advance_until(rig.sys->rng, 150, [](int32_t r) { return r == 0; });
    rig.pass();
    ASSERT_TRUE(rig.foes().count == 1 && rig.hits().count == 1);
    EXPECT_TRUE(rig.foes().gen[0] == 2 && rig.foes().flamed.get(0));
    EXPECT_TRUE(rig.foes().dead.get(0) && !rig.foes().dead.get(1));  // its mark came along
    EXPECT_EQ(rig.hits().foe[0], 0);  // its shot test ran in its new slot
    apply_hit_pairs(*rig.game);
    rig.destroy();
    EXPECT_TRUE(rig.foes().count == 2 && rig.player().score == 5);  // two lodestones of gen 1
}
