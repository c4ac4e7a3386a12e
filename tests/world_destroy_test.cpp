// Destruction: break-up geometry, points, sparks, pick-ups and full pools.
#include <gtest/gtest.h>

#include <cmath>

#include "world/world.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

// Places one foe, marks it dead and runs the destroy step.
void destroy_one(WorldRig& rig, int32_t kind, int32_t gen, float x, float y, float dx = 0.0f, float dy = 0.0f) {
    const int32_t i = rig.add_foe(kind, gen, x, y, dx, dy);
    rig.foes().dead.set(i, 1);
    destroy_step(*rig.sys, *rig.game);
}

float speed2(const SparkPool& s, int32_t k) {
    return s.dx[static_cast<size_t>(k)] * s.dx[static_cast<size_t>(k)] + s.dy[static_cast<size_t>(k)] * s.dy[static_cast<size_t>(k)];
}

}  // namespace

TEST(BreakUp, RockOfGenTwoSplitsIntoTwoOfGenOne) {
    WorldRig rig;
    rig.foes().flamed.set(0, 1);
    destroy_one(rig, ROCK, 2, 50.0f, 60.0f, 0.5f, -0.25f);
    EXPECT_EQ(rig.player().score, 5);
    ASSERT_EQ(rig.foes().count, 2);
    const FoePool& f = rig.foes();
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(f.kind[k], ROCK);
        EXPECT_EQ(f.gen[k], 1);
        EXPECT_FLOAT_EQ(f.x[k], 50.0f);
        EXPECT_FLOAT_EQ(f.y[k], 60.0f);
        EXPECT_TRUE(f.flamed.get(k));  // burning rocks break into burning pieces
        EXPECT_FALSE(f.dead.get(k));
    }
    // Symmetric about the parent's motion.
    EXPECT_FLOAT_EQ(f.dx[0] + f.dx[1], 1.0f);
    EXPECT_FLOAT_EQ(f.dy[0] + f.dy[1], -0.5f);
    EXPECT_EQ(rig.sparks().count, 100);
    for (int32_t k = 0; k < 100; ++k) {
        EXPECT_GE(speed2(rig.sparks(), k), 10.0f);
        EXPECT_LE(speed2(rig.sparks(), k), 25.0f);
        EXPECT_GE(rig.sparks().colour[static_cast<size_t>(k)], 48);
        EXPECT_LE(rig.sparks().colour[static_cast<size_t>(k)], 52);
    }
    rig.foes().dead.set(1, 1);
    rig.foes().dead.set(0, 1);
    rig.add_foe(DART, 0, 300.0f, 10.0f);  // keeps the second mark from escaping by the swap
    destroy_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.player().score, 25);
    EXPECT_EQ(rig.foes().count, 1);
}

TEST(BreakUp, BlockOfGenThreeScoresEightyAndLeavesFourQuarters) {
    WorldRig rig;
    destroy_one(rig, BLOCK, 3, 100.0f, 80.0f, 0.4f, 0.3f);
    EXPECT_EQ(rig.player().score, 80);
    EXPECT_EQ(rig.sparks().count, 0);
    ASSERT_EQ(rig.foes().count, 4);
    // The last quarter moves into the parent's slot when the parent is removed.
    const float ex[4] = {106, 94, 94, 106}, ey[4] = {86, 74, 86, 74};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(rig.foes().gen[k], 2);
        EXPECT_EQ(rig.foes().kind[k], BLOCK);
        EXPECT_FLOAT_EQ(rig.foes().x[k], ex[k]);
        EXPECT_FLOAT_EQ(rig.foes().y[k], ey[k]);
        EXPECT_FLOAT_EQ(rig.foes().dx[k], 0.0f);
    }
    WorldRig small;
    destroy_one(small, BLOCK, 1, 10.0f, 10.0f);  // q, h = -1, 2
    EXPECT_EQ(small.player().score, 20);
    ASSERT_EQ(small.foes().count, 4);
    EXPECT_FLOAT_EQ(small.foes().x[1], 9.0f);
    EXPECT_FLOAT_EQ(small.foes().y[2], 12.0f);
    WorldRig tiny;
    destroy_one(tiny, BLOCK, 0, 10.0f, 10.0f);
    EXPECT_EQ(tiny.player().score, 5);
    EXPECT_EQ(tiny.foes().count, 0);
}

TEST(BreakUp, BlockPointsAreSummedAsARealLikeTheGameAlwaysDid) {
    WorldRig rig;
    rig.player().score = 16777217;  // 2^24 + 1 has no float of its own
    destroy_one(rig, BLOCK, 0, 10.0f, 10.0f);
    EXPECT_EQ(rig.player().score, 16777220);  // 16777217 + 5, rounded twice
}

TEST(BreakUp, WebOfGenFourBecomesFourRingsOfOrbiters) {
    WorldRig rig;
    destroy_one(rig, WEB, 4, 150.0f, 90.0f, 0.1f, 0.0f);
    EXPECT_EQ(rig.player().score, 80);
    EXPECT_EQ(rig.sparks().count, 400);
    ASSERT_EQ(rig.foes().count, 16);
    const FoePool& f = rig.foes();
    // Orbiter m was made in slot m + 1; the last (m = 15) then moved into the web's slot 0.
    auto slot = [](int m) { return m == 15 ? 0 : m + 1; };
    for (int m = 0; m < 16; ++m) {
        const int k = slot(m), ring = slot((m / 4) * 4);
        EXPECT_EQ(f.kind[k], ORBITER);
        EXPECT_EQ(f.gen[k], (m / 4) * 3 + 3);  // radii 3, 6, 9, 12
        EXPECT_FLOAT_EQ(f.angle[k], static_cast<float>(m) * (6.2831854820251465f / 4.0f));
        // A ring drifts and turns as one.
        EXPECT_FLOAT_EQ(f.dx[k], f.dx[ring]);
        EXPECT_FLOAT_EQ(f.spin[k], f.spin[ring]);
        EXPECT_FLOAT_EQ(f.x[k], 150.0f);
    }
}

TEST(BreakUp, WheelOfGenSevenReleasesSevenDartsAllRound) {
    WorldRig rig;
    rig.add_foe(ROCK, 5, 10.0f, 10.0f);  // darts start at slot 2 once the wheel is placed
    destroy_one(rig, WHEEL, 7, 200.0f, 100.0f);
    EXPECT_EQ(rig.player().score, 50);
    EXPECT_EQ(rig.sparks().count, 1000);
    ASSERT_EQ(rig.foes().count, 8);
    // The last dart moved into the wheel's slot 1; all eight slots hold a rock and 7 darts.
    int darts = 0;
    for (int k = 0; k < 8; ++k) {
        if (rig.foes().kind[k] != DART) continue;
        ++darts;
        EXPECT_FLOAT_EQ(rig.foes().dx[k], 0.0f);
    }
    EXPECT_EQ(darts, 7);
    EXPECT_FLOAT_EQ(rig.foes().angle[1], 6.2831854820251465f * 8.0f / 7.0f);  // made in slot 8
    EXPECT_FLOAT_EQ(rig.foes().angle[2], 6.2831854820251465f * 2.0f / 7.0f);
    for (int32_t k = 0; k < 1000; ++k) EXPECT_EQ(rig.sparks().colour[static_cast<size_t>(k)], 12);
}

TEST(BreakUp, TriangleSplitsInThreeWithARingOfSparks) {
    WorldRig rig;
    destroy_one(rig, TRIANGLE, 3, 40.0f, 40.0f);
    EXPECT_EQ(rig.player().score, 15);
    ASSERT_EQ(rig.foes().count, 3);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(rig.foes().gen[k], 2);
    ASSERT_EQ(rig.sparks().count, 50);
    EXPECT_EQ(rig.sparks().colour[0], 32);
    EXPECT_EQ(rig.sparks().colour[49], 55);
    for (int32_t k = 0; k < 50; ++k) EXPECT_NEAR(speed2(rig.sparks(), k), 25.0f, 1e-4f);
    WorldRig last;
    destroy_one(last, TRIANGLE, 1, 40.0f, 40.0f);
    EXPECT_EQ(last.foes().count, 0);
    EXPECT_EQ(last.player().score, 5);
}

TEST(BreakUp, SparkPatternsAndPointsOfTheOtherKinds) {
    struct Case { int32_t kind; int32_t points; int32_t sparks; };
    const Case cases[] = {{DART, 15, 100}, {SAUCER, 25, 500}, {PELLET, 0, 10}, {ORBITER, 5, 50},
                          {REPELLER, 100, 500}, {CELL, 10, 200}, {SPINNER, 250, 0}, {LODESTONE, 10, 100}};
    for (const Case& c : cases) {
        WorldRig rig;
        destroy_one(rig, c.kind, 1, 100.0f, 100.0f);
        EXPECT_EQ(rig.player().score, c.points) << c.kind;
        EXPECT_EQ(rig.sparks().count, c.sparks) << c.kind;
    }
    WorldRig saucer;
    destroy_one(saucer, SAUCER, 0, 100.0f, 100.0f);
    for (int32_t k = 0; k < 500; ++k) {
        const float scale = k % 3 == 0 ? 1.0f : (k % 3 == 1 ? 0.35f * 0.35f : 0.35f * 0.35f * 0.35f * 0.35f);
        EXPECT_GE(speed2(saucer.sparks(), k), 20.0f * scale * 0.999f);
        EXPECT_LE(speed2(saucer.sparks(), k), 25.0f * scale * 1.001f);
    }
}

TEST(BreakUp, LodestoneHalvesAreSetApartBeyondMergingReach) {
    WorldRig rig;
    destroy_one(rig, LODESTONE, 10, 160.0f, 100.0f);
    ASSERT_EQ(rig.foes().count, 2);
    const FoePool& f = rig.foes();
    EXPECT_EQ(f.gen[0] + f.gen[1], 10);
    const float sum = static_cast<float>(rig.game->sprites.rock_sizes[static_cast<size_t>(f.gen[0])] +
                                         rig.game->sprites.rock_sizes[static_cast<size_t>(f.gen[1])]);
    const float dist = std::hypot(f.x[0] - f.x[1], f.y[0] - f.y[1]);
    EXPECT_NEAR(dist, 0.525f * sum, 1e-3f);
    EXPECT_TRUE(qvar::test::all_finite(*rig.game, rig.sparks()));
}

TEST(PickUps, OneInFifteenAndNeverFromAPellet) {
    WorldRig pellets;
    for (int i = 0; i < 900; ++i) pellets.add_foe(PELLET, 1, 10.0f, 10.0f);
    for (int round = 0; round < 20; ++round) {  // each round takes about half: the swaps escape
        for (int32_t i = 0; i < pellets.foes().count; ++i) pellets.foes().dead.set(i, 1);
        destroy_step(*pellets.sys, *pellets.game);
    }
    EXPECT_EQ(pellets.foes().count, 0);
    EXPECT_EQ(pellets.game->boni.count, 0);

    WorldRig darts;
    for (int i = 0; i < 900; ++i) darts.add_foe(ORBITER, 6, 10.0f, 20.0f);
    for (int round = 0; round < 20; ++round) {
        for (int32_t i = 0; i < darts.foes().count; ++i) darts.foes().dead.set(i, 1);
        destroy_step(*darts.sys, *darts.game);
    }
    EXPECT_EQ(darts.foes().count, 0);
    const BonusPool& b = darts.game->boni;
    EXPECT_GT(b.count, 30);
    EXPECT_LT(b.count, 100);
    for (int32_t k = 0; k < b.count; ++k) {
        const auto s = static_cast<size_t>(k);
        EXPECT_FLOAT_EQ(b.x[s], 10.0f);  // at the orbiter's anchor, not its visible centre
        EXPECT_GE(b.kind[s], 1);
        EXPECT_LE(b.kind[s], 13);
        EXPECT_LE(std::fabs(b.dx[s]), 1.0f);
    }
}

TEST(FullPools, DestructionStillScoresButAddsOnlyWhatFits) {
    WorldRig rig;
    rig.sparks().count = SPARK_CAPACITY;
    destroy_one(rig, WHEEL, 5, 100.0f, 100.0f);
    EXPECT_EQ(rig.sparks().count, SPARK_CAPACITY);
    EXPECT_EQ(rig.player().score, 50);
    EXPECT_EQ(rig.foes().count, 5);

    WorldRig full;
    for (int i = 0; i < FOE_CAPACITY; ++i) full.add_foe(ROCK, 1, 300.0f, 190.0f);
    full.foes().gen[0] = 2;
    full.foes().dead.set(0, 1);
    destroy_step(*full.sys, *full.game);
    EXPECT_EQ(full.foes().count, FOE_CAPACITY - 1);  // no room for either half
    EXPECT_EQ(full.player().score, 5);

    WorldRig nearly;
    for (int i = 0; i < 990; ++i) nearly.add_foe(ROCK, 1, 300.0f, 190.0f);
    nearly.foes().kind[0] = WEB;
    nearly.foes().gen[0] = 4;
    nearly.foes().dead.set(0, 1);
    destroy_step(*nearly.sys, *nearly.game);
    EXPECT_EQ(nearly.foes().count, 999);  // ten orbiters fitted, then the web was removed
    int orbiters = 0;
    for (int32_t i = 0; i < nearly.foes().count; ++i) orbiters += nearly.foes().kind[static_cast<size_t>(i)] == ORBITER;
    EXPECT_EQ(orbiters, 10);

    WorldRig boni;
    boni.game->boni.count = BONUS_CAPACITY;
    for (int i = 0; i < 300; ++i) boni.add_foe(DART, 0, 10.0f, 10.0f);
    for (int32_t i = 0; i < 300; ++i) boni.foes().dead.set(i, 1);
    for (int round = 0; round < 9; ++round) {
        for (int32_t i = 0; i < boni.foes().count; ++i) boni.foes().dead.set(i, 1);
        destroy_step(*boni.sys, *boni.game);
    }
    EXPECT_EQ(boni.game->boni.count, BONUS_CAPACITY);
}
