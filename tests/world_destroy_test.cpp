// Destruction: points, sparks, break-up geometry, pick-ups and full pools.
#include <gtest/gtest.h>

#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

// Marks every foe dead and destroys, until none is left (a foe swapped into a removed slot
// escapes each round).
void destroy_all(WorldRig& rig) {
    for (int round = 0; round < 30 && rig.foes().count > 0; ++round) {
        for (int32_t i = 0; i < rig.foes().count; ++i) rig.foes().dead.set(i, 1);
        rig.destroy();
    }
}

}  // namespace

TEST(BreakUp, PointsSparksAndFragmentsOfEveryKind) {
    // fragment_gen -1: the fragments differ (orbiter rings, lodestone halves) or there are none.
    struct Case { int32_t kind, gen, points, sparks, fragments, fragment_gen; };
    const Case cases[] = {
        {ROCK, 2, 5, 100, 2, 1},        {ROCK, 1, 10, 100, 0, -1},   {LODESTONE, 10, 5, 100, 2, -1},
        {LODESTONE, 1, 10, 100, 0, -1}, {BLOCK, 3, 80, 0, 4, 2},     {BLOCK, 1, 20, 0, 4, 0},
        {BLOCK, 0, 5, 0, 0, -1},        {WEB, 4, 80, 400, 16, -1},   {WHEEL, 7, 50, 1000, 7, 0},
        {TRIANGLE, 3, 15, 50, 3, 2},    {TRIANGLE, 1, 5, 50, 0, -1}, {DART, 1, 15, 100, 0, -1},
        {SAUCER, 0, 25, 500, 0, -1},    {PELLET, 1, 0, 10, 0, -1},   {ORBITER, 1, 5, 50, 0, -1},
        {REPELLER, 0, 100, 500, 0, -1}, {CELL, 1, 10, 200, 0, -1},   {SPINNER, 0, 250, 0, 0, -1},
    };
    for (const Case& c : cases) {
        WorldRig rig;
        rig.destroy_one(c.kind, c.gen, 100.0f, 100.0f);
        const FoePool& f = rig.foes();
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " gen " << c.gen);
        EXPECT_TRUE(rig.player().score == c.points && rig.sparks().count == c.sparks);
        ASSERT_EQ(f.count, c.fragments);
        const auto of_gen = std::count(f.gen.begin(), f.gen.begin() + f.count, c.fragment_gen);
        EXPECT_TRUE(c.fragment_gen < 0 || of_gen == c.fragments);
    }
    WorldRig big;  // blocks score through a real, as the game always did: 2^24 + 1 has no float
    big.player().score = 16777217;
    big.destroy_one(BLOCK, 0, 10.0f, 10.0f);
    EXPECT_EQ(big.player().score, 16777220);
}

TEST(BreakUp, GeometryOfRockLodestoneAndBlockPieces) {
    WorldRig rock, lode, block, small;
    rock.foes().flamed.set(0, 1);
    rock.destroy_one(ROCK, 2, 50.0f, 60.0f, 0.5f, -0.25f);
    const FoePool& f = rock.foes();  // symmetric about the parent's motion, burning on
    for (int k = 0; k < 2; ++k) EXPECT_TRUE(f.x[k] == 50.0f && f.y[k] == 60.0f && f.flamed.get(k) && !f.dead.get(k));
    EXPECT_NEAR(f.dx[0] + f.dx[1], 1.0f, 1e-6f);
    EXPECT_NEAR(f.dy[0] + f.dy[1], -0.5f, 1e-6f);
    lode.destroy_one(LODESTONE, 10, 160.0f, 100.0f);  // set apart beyond merging reach
    const FoePool& l = lode.foes();
    const auto& size = lode.game->sprites.rock_sizes;
    const float reach = static_cast<float>(size[l.gen[0]] + size[l.gen[1]]);
    EXPECT_NEAR(std::hypot(l.x[0] - l.x[1], l.y[0] - l.y[1]), 0.525f * reach, 1e-3f);
    block.destroy_one(BLOCK, 3, 100.0f, 80.0f, 0.4f, 0.3f);
    // The four quarters fill the parent's square, at rest; the last moved into the parent's slot.
    const float ex[4] = {106, 94, 94, 106}, ey[4] = {86, 74, 86, 74};
    const FoePool& q = block.foes();
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(q.x[k] == ex[k] && q.y[k] == ey[k] && q.dx[k] == 0) << k;
    small.destroy_one(BLOCK, 1, 10.0f, 10.0f);  // offsets -1 and 2
    EXPECT_TRUE(small.foes().x[1] == 9.0f && small.foes().y[2] == 12.0f);
}

TEST(BreakUp, WebBecomesRingsOfOrbitersAndWheelReleasesDartsAllRound) {
    WorldRig rig, wheel;
    rig.destroy_one(WEB, 4, 150.0f, 90.0f, 0.1f, 0.0f);
    const FoePool& f = rig.foes();
    // Orbiter m was made in slot m + 1; the last (m = 15) then moved into the web's slot 0.
    auto slot = [](int m) { return m == 15 ? 0 : m + 1; };
    for (int m = 0; m < 16; ++m) {
        const int k = slot(m), ring = slot((m / 4) * 4);
        EXPECT_TRUE(f.kind[k] == ORBITER && f.gen[k] == (m / 4) * 3 + 3) << m;  // radii 3, 6, 9, 12
        EXPECT_FLOAT_EQ(f.angle[k], static_cast<float>(m) * (TWO_PI / 4.0f));
        EXPECT_TRUE(f.dx[k] == f.dx[ring] && f.spin[k] == f.spin[ring] && f.x[k] == 150.0f) << m;  // as one ring
    }
    wheel.add_foe(ROCK, 5, 10.0f, 10.0f);  // darts start at slot 2 once the wheel is placed
    wheel.destroy_one(WHEEL, 7, 200.0f, 100.0f);
    // The angles follow the slots; the dart made in slot 8 moved into the wheel's slot 1.
    EXPECT_TRUE(wheel.foes().angle[1] == TWO_PI * 8.0f / 7.0f && wheel.foes().angle[2] == TWO_PI * 2.0f / 7.0f);
}

TEST(PickUps, OneInFifteenAtTheAnchorAndNeverFromAPellet) {
    WorldRig pellets, orbiters;
    for (int i = 0; i < 900; ++i) pellets.add_foe(PELLET, 1, 10.0f, 10.0f), orbiters.add_foe(ORBITER, 6, 10.0f, 20.0f);
    destroy_all(pellets);
    destroy_all(orbiters);
    EXPECT_EQ(pellets.foes().count + orbiters.foes().count + pellets.game->boni.count, 0);
    const BonusPool& b = orbiters.game->boni;
    EXPECT_TRUE(b.count > 30 && b.count < 100) << b.count;
    for (int32_t k = 0; k < b.count; ++k)
        EXPECT_TRUE(b.x[k] == 10.0f && b.kind[k] >= 1 && b.kind[k] <= 13 && std::fabs(b.dx[k]) <= 1.0f) << k;
}

TEST(FullPools, DestructionStillScoresButAddsOnlyWhatFits) {
    WorldRig rig, full, nearly;
    rig.sparks().count = SPARK_CAPACITY;
    rig.game->boni.count = BONUS_CAPACITY;
    rig.destroy_one(WHEEL, 5, 100.0f, 100.0f);
    for (int i = 0; i < 300; ++i) rig.add_foe(DART, 0, 10.0f, 10.0f);
    destroy_all(rig);
    EXPECT_TRUE(rig.sparks().count == SPARK_CAPACITY && rig.game->boni.count == BONUS_CAPACITY);
    EXPECT_EQ(rig.player().score, 50 + 305 * 15);
    for (int i = 0; i < FOE_CAPACITY; ++i) full.add_foe(ROCK, i == 0 ? 2 : 1, 300.0f, 190.0f);
    full.foes().dead.set(0, 1);
    full.destroy();
    EXPECT_TRUE(full.foes().count == FOE_CAPACITY - 1 && full.player().score == 5);  // no room for either half
    for (int i = 0; i < 990; ++i) nearly.add_foe(i == 0 ? WEB : ROCK, i == 0 ? 4 : 1, 300.0f, 190.0f);
    nearly.foes().dead.set(0, 1);
    nearly.destroy();  // ten orbiters fitted, then the web was removed
    EXPECT_TRUE(nearly.foes().count == 999 && std::count(nearly.foes().kind.begin(), nearly.foes().kind.begin() + 999, ORBITER) == 10);
}
