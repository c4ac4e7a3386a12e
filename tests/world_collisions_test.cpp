// Contact and shot tests at their exact limits, the hit-pair list and applying it.
#include <gtest/gtest.h>

#include "world/world.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

// One pass over a single foe of `kind` at (100, 100) and one shot at (sx, sy).
int32_t pairs_for_shot(int32_t kind, int32_t gen, float sx, float sy) {
    WorldRig rig;
    rig.add_foe(kind, gen, 100.0f, 100.0f);
    rig.add_shot(sx, sy);
    if (kind == BLOCK) qvar::test::advance_until(rig.sys->rng, 15, [](int32_t r) { return r >= 4; });
    rig.pass();
    return rig.game->hits.count;
}

bool ship_destroyed_at(int32_t kind, int32_t gen, float ship_x, float ship_y) {
    WorldRig rig;
    rig.add_foe(kind, gen, 100.0f, 100.0f);
    rig.player().ship_x = ship_x;
    rig.player().ship_y = ship_y;
    if (kind == BLOCK) qvar::test::advance_until(rig.sys->rng, 15, [](int32_t r) { return r >= 4; });
    rig.pass();
    return rig.player().death_timer == 1;
}

}  // namespace

TEST(ShotTest, RockOfGenOneIsHitCloserThanFivePixels) {
    EXPECT_EQ(pairs_for_shot(ROCK, 1, 104.9f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(ROCK, 1, 105.0f, 100.0f), 0);
    EXPECT_EQ(pairs_for_shot(ROCK, 1, 100.0f, 95.0f), 0);
    // Size 17 gives a radius of 17 / 2 = 8.
    EXPECT_EQ(pairs_for_shot(ROCK, 3, 107.9f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(ROCK, 3, 108.0f, 100.0f), 0);
}

TEST(ShotTest, BoxesAndRoundsAtTheirLimits) {
    // A saucer is missed 8 pixels to its side (strict box 8 x 4).
    EXPECT_EQ(pairs_for_shot(SAUCER, 0, 108.0f, 100.0f), 0);
    EXPECT_EQ(pairs_for_shot(SAUCER, 0, 107.9f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(SAUCER, 0, 100.0f, 104.0f), 0);
    // A repeller is hit exactly 10 pixels to its side (box 10 x 8, limits included).
    EXPECT_EQ(pairs_for_shot(REPELLER, 0, 110.0f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(REPELLER, 0, 110.1f, 100.0f), 0);
    EXPECT_EQ(pairs_for_shot(REPELLER, 0, 90.0f, 108.0f), 1);
    // Block of gen 3: box of (24 + 3) / 2 = 13; gen 0: 3.
    EXPECT_EQ(pairs_for_shot(BLOCK, 3, 113.0f, 87.0f), 1);
    EXPECT_EQ(pairs_for_shot(BLOCK, 3, 113.5f, 100.0f), 0);
    EXPECT_EQ(pairs_for_shot(BLOCK, 0, 103.0f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(BLOCK, 0, 103.5f, 100.0f), 0);
    EXPECT_EQ(pairs_for_shot(WHEEL, 4, 109.9f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(WHEEL, 4, 110.0f, 100.0f), 0);
    EXPECT_EQ(pairs_for_shot(WEB, 4, 111.9f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(WEB, 4, 112.0f, 100.0f), 0);
    EXPECT_EQ(pairs_for_shot(TRIANGLE, 3, 105.9f, 100.0f), 1);
    EXPECT_EQ(pairs_for_shot(TRIANGLE, 3, 106.0f, 100.0f), 0);
    // Pellets cannot be shot.
    EXPECT_EQ(pairs_for_shot(PELLET, 100, 100.0f, 100.0f), 0);
}

TEST(ContactTest, RadiiAndBoxesAtTheirLimits) {
    // Rock of gen 1: contact while ship_distance2 < 9.5^2 = 90.25.
    EXPECT_FALSE(ship_destroyed_at(ROCK, 1, 109.5f, 100.0f));
    EXPECT_TRUE(ship_destroyed_at(ROCK, 1, 109.49f, 100.0f));
    EXPECT_FALSE(ship_destroyed_at(WHEEL, 3, 115.0f, 100.0f));
    EXPECT_TRUE(ship_destroyed_at(WHEEL, 3, 114.9f, 100.0f));
    EXPECT_TRUE(ship_destroyed_at(SAUCER, 0, 112.0f, 92.0f));
    EXPECT_FALSE(ship_destroyed_at(SAUCER, 0, 112.1f, 100.0f));
    EXPECT_TRUE(ship_destroyed_at(REPELLER, 0, 85.0f, 112.0f));
    EXPECT_FALSE(ship_destroyed_at(REPELLER, 0, 100.0f, 112.1f));
    // A block touches within its full side plus the ship radius: 24 + 5 for gen 3.
    EXPECT_TRUE(ship_destroyed_at(BLOCK, 3, 128.9f, 100.0f));
    EXPECT_FALSE(ship_destroyed_at(BLOCK, 3, 129.0f, 100.0f));
    EXPECT_TRUE(ship_destroyed_at(PELLET, 100, 105.9f, 100.0f));
    EXPECT_FALSE(ship_destroyed_at(PELLET, 100, 106.0f, 100.0f));
}

TEST(ContactTest, OrbiterIsMeasuredFromItsVisibleCentre) {
    WorldRig rig;
    rig.add_foe(ORBITER, 9, 318.0f, 100.0f);  // angle 0: seen at trunc(320 + 327) mod 320 = 7
    rig.add_shot(7.0f, 104.9f);
    rig.add_shot(318.0f, 100.0f);  // the anchor itself is empty space
    rig.player().ship_x = 16.9f;
    rig.player().ship_y = 100.0f;
    rig.pass();
    ASSERT_EQ(rig.game->hits.count, 1);
    EXPECT_EQ(rig.game->hits.shot[0], 0);
    EXPECT_EQ(rig.player().death_timer, 1);
}

TEST(ShipHit, InvincibleOrExplodingShipIsNotHurtAndNeitherIsTheFoe) {
    WorldRig rig;
    rig.add_foe(ROCK, 5, 160.0f, 100.0f);
    rig.player().invincible = 10;
    rig.world_frame();
    EXPECT_EQ(rig.player().death_timer, 0);
    EXPECT_EQ(rig.foes().count, 1);
    rig.player().invincible = 0;
    rig.player().death_timer = 5;
    rig.world_frame();
    EXPECT_EQ(rig.player().death_timer, 5);
    rig.player().death_timer = 0;
    const int32_t sparks_before = rig.sparks().count;
    rig.world_frame();
    EXPECT_EQ(rig.player().death_timer, 1);
    EXPECT_EQ(rig.foes().count, 1);  // the foe that touched the ship is not harmed
    EXPECT_GE(rig.sparks().count, sparks_before + 1000);
}

TEST(HitPairs, OneShotInTwoRocksDestroysBoth) {
    WorldRig rig;
    rig.add_foe(ROCK, 1, 100.0f, 100.0f);
    rig.add_foe(ROCK, 1, 102.0f, 100.0f);
    rig.add_foe(DART, 0, 300.0f, 20.0f);  // the last foe, moved in by the first removal
    rig.add_shot(101.0f, 100.0f);
    rig.pass_and_hits();
    EXPECT_EQ(rig.game->hits.count, 2);
    EXPECT_TRUE(rig.foes().dead.get(0));
    EXPECT_TRUE(rig.foes().dead.get(1));
    EXPECT_TRUE(rig.shots().spent.get(0));
    destroy_step(*rig.sys, *rig.game);
    ASSERT_EQ(rig.foes().count, 1);
    EXPECT_EQ(rig.foes().kind[0], DART);
    EXPECT_EQ(rig.player().score, 20);
}

TEST(HitPairs, MarkedLastFoeMovedIntoARemovedSlotEscapes) {
    WorldRig rig;
    rig.add_foe(ROCK, 1, 100.0f, 100.0f);
    rig.add_foe(ROCK, 1, 102.0f, 100.0f);
    rig.add_shot(101.0f, 100.0f);
    rig.pass_and_hits();
    destroy_step(*rig.sys, *rig.game);
    ASSERT_EQ(rig.foes().count, 1);  // the second rock moved into slot 0 and was not looked at
    EXPECT_FLOAT_EQ(rig.foes().x[0], 102.0f);
    EXPECT_EQ(rig.player().score, 10);
    EXPECT_TRUE(rig.foes().dead.get(0));  // its mark moved with it, and is gone next frame
    prepare_foe_pass(*rig.game);
    EXPECT_FALSE(rig.foes().dead.get(0));
    EXPECT_FALSE(rig.foes().dead.get(1));
}

TEST(HitPairs, FullListOverwritesItsLastEntryAndResetsPerFoe) {
    WorldRig rig;
    rig.add_foe(ROCK, 15, 100.0f, 100.0f);
    rig.add_foe(ROCK, 15, 100.0f, 100.0f);
    for (int i = 0; i < 600; ++i) rig.add_shot(100.0f, 100.0f);
    rig.pass_and_hits();
    const HitPairs& h = rig.game->hits;
    EXPECT_EQ(h.count, HIT_PAIR_CAPACITY);
    EXPECT_EQ(h.foe[498], 0);
    EXPECT_EQ(h.shot[498], 498);
    // The second rock found the list full (500 -> 499) and every one of its pairs replaced
    // the last entry; the last one standing is its last shot.
    EXPECT_EQ(h.foe[499], 1);
    EXPECT_EQ(h.shot[499], 599);
    EXPECT_TRUE(rig.foes().dead.get(0));
    EXPECT_TRUE(rig.foes().dead.get(1));
    EXPECT_TRUE(rig.shots().spent.get(498));
    EXPECT_FALSE(rig.shots().spent.get(499));
    EXPECT_FALSE(rig.shots().spent.get(598));
    EXPECT_TRUE(rig.shots().spent.get(599));
}

TEST(HitPairs, PlasmaBallSetsTheFoeBurningInsteadOfKilling) {
    {
        WorldRig rig;
        rig.add_foe(ROCK, 3, 100.0f, 100.0f);
        rig.add_shot(100.0f, 100.0f, 0.0f, 0.0f, 1);  // a plain shot marks it ...
        rig.add_shot(100.0f, 100.0f, 0.0f, 0.0f, 3);  // ... and a plasma ball lifts the mark
        rig.pass_and_hits();
        EXPECT_FALSE(rig.foes().dead.get(0));
        EXPECT_TRUE(rig.foes().plasma.get(0));
        EXPECT_TRUE(rig.shots().spent.get(0));
        EXPECT_TRUE(rig.shots().spent.get(1));
        destroy_step(*rig.sys, *rig.game);
        EXPECT_EQ(rig.foes().count, 1);
    }
    {
        WorldRig rig;
        rig.add_foe(ROCK, 3, 100.0f, 100.0f);
        rig.add_shot(100.0f, 100.0f, 0.0f, 0.0f, 3);  // plasma first: a later pair marks it again
        rig.add_shot(100.0f, 100.0f, 0.0f, 0.0f, 1);
        rig.pass_and_hits();
        EXPECT_TRUE(rig.foes().dead.get(0));
        EXPECT_TRUE(rig.foes().plasma.get(0));
    }
}

TEST(FramePreparation, ClearsMarksOfTheFrameAndEffectsOfFreeSlots) {
    WorldRig rig;
    rig.add_foe(ROCK, 3, 100.0f, 100.0f);
    rig.add_shot(10.0f, 10.0f);
    FoePool& f = rig.foes();
    f.dead.set(0, 1);
    f.flamed.set(0, 1);
    f.flamed.set(1, 1);
    f.plasma.set(999, 1);
    f.dead.set(5, 1);
    rig.shots().spent.set(0, 1);
    rig.game->hits.count = 77;
    prepare_foe_pass(*rig.game);
    EXPECT_FALSE(f.dead.get(0));
    EXPECT_TRUE(f.flamed.get(0));  // a live foe keeps burning
    EXPECT_FALSE(f.flamed.get(1));
    EXPECT_FALSE(f.plasma.get(999));
    EXPECT_TRUE(f.dead.get(5));  // beyond the live foes only the effects are cleared
    EXPECT_FALSE(rig.shots().spent.get(0));
    EXPECT_EQ(rig.game->hits.count, 0);
}
