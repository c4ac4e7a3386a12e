// Contact and shot tests at their exact limits, and applying the hit-pair list. (A full list
// is the fast-pass equivalence test's: its crowd fills it.)
#include <gtest/gtest.h>

#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

TEST(Collisions, ShotAndContactTestsAtTheirExactLimits) {
    // A foe at (100, 100) and a shot (S) or the ship (P) at (x, y): does the shot make a hit
    // pair, is the ship destroyed? Rock gen 1: radius 10 / 2 for shots, 9.5 + the ship's 5 for
    // contact; saucer: strict box 8 x 4; repeller: box 10 x 8, limits included; block gen 3:
    // box (24 + 3) / 2 for shots and side 24 + 5 for contact. Pellets cannot be shot.
    enum { S, P };
    struct Case { int32_t kind, gen, who; float x, y; bool hit; };
    const Case cases[] = {
        {ROCK, 1, S, 104.9f, 100, 1},   {ROCK, 1, S, 105, 100, 0},       {ROCK, 1, S, 100, 95, 0},
        {ROCK, 3, S, 107.9f, 100, 1},   {ROCK, 3, S, 108, 100, 0},       {SAUCER, 0, S, 107.9f, 100, 1},
        {SAUCER, 0, S, 108, 100, 0},    {SAUCER, 0, S, 100, 104, 0},     {REPELLER, 0, S, 110, 100, 1},
        {REPELLER, 0, S, 110.1f, 100, 0}, {REPELLER, 0, S, 90, 108, 1},  {BLOCK, 3, S, 113, 87, 1},
        {BLOCK, 3, S, 113.5f, 100, 0},  {BLOCK, 0, S, 103, 100, 1},      {BLOCK, 0, S, 103.5f, 100, 0},
        {WHEEL, 4, S, 109.9f, 100, 1},  {WHEEL, 4, S, 110, 100, 0},      {WEB, 4, S, 111.9f, 100, 1},
        {WEB, 4, S, 112, 100, 0},       {TRIANGLE, 3, S, 105.9f, 100, 1}, {TRIANGLE, 3, S, 106, 100, 0},
        {PELLET, 100, S, 100, 100, 0},  {ROCK, 1, P, 109.5f, 100, 0},    {ROCK, 1, P, 109.49f, 100, 1},
        {WHEEL, 3, P, 115, 100, 0},     {WHEEL, 3, P, 114.9f, 100, 1},   {SAUCER, 0, P, 112, 92, 1},
        {SAUCER, 0, P, 112.1f, 100, 0}, {REPELLER, 0, P, 85, 112, 1},    {REPELLER, 0, P, 100, 112.1f, 0},
        {BLOCK, 3, P, 128.9f, 100, 1},  {BLOCK, 3, P, 129, 100, 0},      {PELLET, 100, P, 105.9f, 100, 1},
        {PELLET, 100, P, 106, 100, 0},
    };
    for (const Case& c : cases) {
        WorldRig rig({{c.kind, c.gen, 100.0f, 100.0f}});
        c.who == P ? rig.ship_at(c.x, c.y) : rig.add_shot(c.x, c.y);
        // A block jumps a step in 4 frames of 15: keep it in place.
        if (c.kind == BLOCK) qvar::test::advance_until(rig.sys->rng, 15, [](int32_t r) { return r >= 4; });
        rig.pass();
        EXPECT_EQ(c.who == P ? rig.player().death_timer == 1 : rig.hits().count == 1, c.hit)
            << "kind " << c.kind << " gen " << c.gen << " at " << c.x << "," << c.y;
    }
}

TEST(Collisions, OrbiterIsHitAndDrawnAtItsVisibleCentre) {
    for (const float ship_x : {16.9f, 17.0f}) {  // contact closer than 10 pixels
        WorldRig rig({{ORBITER, 9, 318.0f, 100.0f}});  // angle 0: seen at trunc(320 + 327) mod 320 = 7
        rig.add_shot(7.0f, 104.9f);
        rig.add_shot(318.0f, 100.0f);  // the anchor itself is empty space
        rig.add_shot(7.0f, 95.0f);     // exactly 5 away: missed
        rig.ship_at(ship_x, 100.0f);
        rig.pass();
        ASSERT_EQ(rig.hits().count, 1);
        EXPECT_TRUE(rig.hits().shot[0] == 0 && rig.player().death_timer == (ship_x < 17.0f ? 1 : 0)) << ship_x;
        EXPECT_TRUE(rig.sys->frame.at(7, 100) != 0 && rig.sys->frame.at(318, 100) == 0);
    }
}

// (Which ship contact hurts, and the plasma ball lifting marks, are pinned by the recorded games.)
TEST(HitPairs, ARemovalSwapsTheLastFoeInAndItsMarkEscapesThatFrame) {
    for (const bool dart_behind : {true, false}) {
        WorldRig rig({{ROCK, 1, 100.0f, 100.0f}, {ROCK, 1, 102.0f, 100.0f}});
        if (dart_behind) rig.add_foe(DART, 0, 300.0f, 20.0f);
        rig.add_shot(101.0f, 100.0f);  // one shot in both rocks
        rig.pass_and_hits();
        EXPECT_TRUE(rig.hits().count == 2 && rig.foes().dead.get(0) && rig.foes().dead.get(1) && rig.shots().spent.get(0));
        rig.destroy();
        // With a dart behind them both rocks go; else the second moves into slot 0 unvisited.
        ASSERT_EQ(rig.foes().count, 1);
        EXPECT_TRUE(rig.foes().kind[0] == (dart_behind ? DART : ROCK) && rig.player().score == (dart_behind ? 20 : 10) &&
                    rig.foes().dead.get(0) != dart_behind);
    }
}
