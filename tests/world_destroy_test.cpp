// Destruction: points, sparks and pieces of the kinds the recorded games do not reach, and full pools.
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

// (The kinds the recorded games destroy, their pieces, pick-ups and points, are pinned there.)
TEST(BreakUp, PointsSparksAndFragmentsOfTheFieldKinds) {
    // fragment_gen -1: the fragments differ (lodestone halves) or there are none.
    struct Case { int32_t kind, gen, points, sparks, fragments, fragment_gen; };
    const Case cases[] = {
        {LODESTONE, 10, 5, 100, 2, -1}, {LODESTONE, 1, 10, 100, 0, -1}, {CELL, 1, 10, 200, 0, -1},
        {SPINNER, 0, 250, 0, 0, -1},    {BLOCK, 0, 5, 0, 0, -1},
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

TEST(BreakUp, LodestoneHalvesAreSetApartBeyondMergingReach) {
    WorldRig lode;
    lode.destroy_one(LODESTONE, 10, 160.0f, 100.0f);
    const FoePool& l = lode.foes();
    const auto& size = lode.game->sprites.rock_sizes;
    const float reach = static_cast<float>(size[l.gen[0]] + size[l.gen[1]]);
    EXPECT_NEAR(std::hypot(l.x[0] - l.x[1], l.y[0] - l.y[1]), 0.525f * reach, 1e-3f);
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
