// The field foes' worked examples and what the fast-pass equivalence test cannot reach: exact
// limits, the effect bits, a full pool, the ship, and what the later steps make of the pass.
#include <gtest/gtest.h>

#include "util/float_math.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

TEST(Repeller, TurnsBackEverythingWithinFiftyPixelsOnceSomethingComesNear) {
    for (const bool near : {true, false}) {  // far: a shot exactly 50 px away and the ship 60
        WorldRig rig({{REPELLER, 0, 100, 100}, {ROCK, 1, 120, 100, 0.3f, 0.2f}, {ROCK, 1, 151, 100, 0.3f, 0.0f}});
        rig.foes().spin[1] = 0.02f;
        rig.add_shot(near ? 149.0f : 150.0f, 100.0f, 1.0f, 0.5f);
        rig.add_shot(100.0f, 151.0f, 1.0f, 0.5f);
        rig.add_bonus(3, 70.0f, 100.0f, 0.5f, 0.5f);
        SparkPool& sp = rig.sparks();
        sp.count = 2, sp.x[0] = sp.y[0] = 90.0f, sp.x[1] = sp.y[1] = 10.0f, sp.dx[0] = sp.dx[1] = 2.0f;
        rig.ship_at(near ? 130.0f : 160.0f, 100.0f);
        rig.player().ship_vx = 1.5f, rig.player().ship_vy = -0.5f;
        rig.game->debris.count = 9950;
        rig.pass();
        const float s = near ? -1.0f : 1.0f;  // turned back, or left alone; the foe moves with its turned velocity
        const FoePool& f = rig.foes();
        const Player& p = rig.player();
        EXPECT_TRUE(f.dx[1] == s * 0.3f && f.dy[1] == s * 0.2f && f.spin[1] == s * 0.02f && f.x[1] == 120.0f + s * 0.3f);
        EXPECT_TRUE(rig.shots().dx[0] == s && rig.shots().dy[0] == s * 0.5f && sp.dx[0] == s * 2.0f && rig.game->boni.dx[0] == s * 0.5f);
        EXPECT_TRUE(p.ship_vx == s * 1.5f && p.ship_vy == s * -0.5f);
        EXPECT_TRUE(f.dx[2] == 0.3f && rig.shots().dx[1] == 1.0f && sp.dx[1] == 2.0f);  // beyond reach
        // 50 of the 80 ring dots fit, at k = 9950 ... 9999 round the repeller.
        const DebrisPool& d = rig.game->debris;
        ASSERT_EQ(d.count, near ? DEBRIS_CAPACITY : 9950);
        for (int32_t k = 9950; k < d.count; ++k) {
            const float a = 6.2831854820251465f * static_cast<float>(k) / 80.0f;
            EXPECT_TRUE(d.x[k] == static_cast<int32_t>(100.0f + 50.0f * cosine(a)) &&
                        d.y[k] == static_cast<int32_t>(100.0f + 50.0f * sine(a)) && d.colour[k] == 7) << k;
        }
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
