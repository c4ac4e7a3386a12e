// Boni in play: drift, attraction, the collection test and every pick-up's effect and cap.
#include <gtest/gtest.h>

#include <cmath>

#include "game/boni.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

// Collects one bonus of `kind` lying on the ship.
void collect(WorldRig& rig, int32_t kind) {
    rig.add_bonus(kind, rig.player().ship_x, rig.player().ship_y);
    boni_step(*rig.sys, *rig.game);
}

}  // namespace

TEST(BoniCollection, CloserThanTwelvePixelsAndOnlyByALiveVulnerableShip) {
    WorldRig rig;
    rig.add_bonus(6, 172.0f, 100.0f);  // exactly 12 away
    boni_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.game->boni.count, 1);
    EXPECT_EQ(rig.player().score, 0);
    rig.game->boni.x[0] = 171.9f;
    boni_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.game->boni.count, 0);
    EXPECT_EQ(rig.player().score, 150);

    WorldRig shielded;
    shielded.player().invincible = 30;
    collect(shielded, 6);
    EXPECT_EQ(shielded.game->boni.count, 1);
    shielded.player().invincible = 0;
    shielded.player().death_timer = 4;
    boni_step(*shielded.sys, *shielded.game);
    EXPECT_EQ(shielded.game->boni.count, 1);
    EXPECT_EQ(shielded.player().score, 0);
}

TEST(BoniCollection, FlashOfDebrisAndAGrowingSquareOfSparks) {
    WorldRig rig;
    rig.sparks().count = 37;
    collect(rig, 6);
    const DebrisPool& d = rig.game->debris;
    ASSERT_EQ(d.count, 100);
    for (int32_t k = 0; k < 100; ++k) {
        EXPECT_EQ(d.x[static_cast<size_t>(k)], 160);
        const uint8_t c = d.colour[static_cast<size_t>(k)];
        EXPECT_TRUE(c == 10 || c == 11 || c == 15);
    }
    const SparkPool& s = rig.sparks();
    ASSERT_EQ(s.count, 137);
    // Slot 37 has c = 37: the left side of the square, dy = 0.08 * 12 - 1.
    EXPECT_FLOAT_EQ(s.dx[37], -1.0f);
    EXPECT_FLOAT_EQ(s.dy[37], 0.08f * 12.0f - 1.0f);
    EXPECT_FLOAT_EQ(s.dx[100], 1.0f);  // c = 0
    EXPECT_FLOAT_EQ(s.dy[100], -1.0f);
    EXPECT_EQ(s.colour[136], 5);
}

TEST(BoniEffects, WeaponsAndUpgrades) {
    WorldRig rig;
    Player& p = rig.player();
    collect(rig, 1);
    collect(rig, 2);
    collect(rig, 5);
    collect(rig, 10);
    collect(rig, 12);
    EXPECT_EQ(p.flame_count, 1);
    EXPECT_EQ(p.plasma_count, 3);
    EXPECT_EQ(p.attract, 1);
    EXPECT_EQ(p.retro, 1);
    EXPECT_EQ(p.surround, 1);
    p.whitehot_timer = 100;
    collect(rig, 3);
    EXPECT_EQ(p.whitehot_timer, 400);  // restarts, does not add
    collect(rig, 3);
    EXPECT_EQ(p.whitehot_timer, 400);
    collect(rig, 13);
    EXPECT_EQ(p.invincible, 1000);
}

TEST(BoniEffects, SpreadAndStreamTradeOff) {
    WorldRig rig;
    Player& p = rig.player();
    collect(rig, 4);
    EXPECT_EQ(p.spread, 2);
    EXPECT_EQ(p.stream, 1);  // stays at 1
    collect(rig, 4);
    collect(rig, 9);
    EXPECT_EQ(p.spread, 2);  // 3, then stream-fire takes one back
    EXPECT_EQ(p.stream, 2);
    collect(rig, 4);
    EXPECT_EQ(p.spread, 3);
    EXPECT_EQ(p.stream, 1);
}

TEST(BoniEffects, CapsOfShotSpeedShipsAndBullets) {
    WorldRig rig;
    Player& p = rig.player();
    for (int i = 0; i < 6; ++i) collect(rig, 7);
    EXPECT_NEAR(p.shot_speed, 3.0f * std::pow(1.4f, 6.0f), 1e-3f);
    collect(rig, 7);
    EXPECT_FLOAT_EQ(p.shot_speed, 30.0f);  // not 31.6
    collect(rig, 7);
    EXPECT_FLOAT_EQ(p.shot_speed, 30.0f);
    for (int i = 0; i < 8; ++i) collect(rig, 11);
    EXPECT_EQ(p.bullets, 2400);
    collect(rig, 11);
    EXPECT_EQ(p.bullets, 2500);
    collect(rig, 11);
    EXPECT_EQ(p.bullets, 2500);
    p.ships = 254;
    collect(rig, 8);
    EXPECT_EQ(p.ships, 255);
    rig.sparks().count = 0;
    collect(rig, 8);
    EXPECT_EQ(p.ships, 255);
    EXPECT_EQ(rig.sparks().count, 1100);  // the burst still comes, then the square
    for (int32_t k = 0; k < 1000; ++k) {
        const float v = std::hypot(rig.sparks().dx[static_cast<size_t>(k)], rig.sparks().dy[static_cast<size_t>(k)]);
        const float c = rig.sparks().colour[static_cast<size_t>(k)];
        EXPECT_NEAR(c, 5.0f * v + 30.0f, 1.01f);  // the fastest sparks are the highest colours
        EXPECT_GE(v, 0.499f);
        EXPECT_LE(v, 5.001f);
    }
}

TEST(BoniMotion, AttractionAndTheSpeedLimit) {
    WorldRig rig;
    rig.player().attract = 1;
    rig.add_bonus(1, 260.0f, 100.0f);
    rig.add_bonus(2, 20.0f, 20.0f, 3.0f, 4.0f);
    boni_step(*rig.sys, *rig.game);
    const BonusPool& b = rig.game->boni;
    EXPECT_FLOAT_EQ(b.dx[0], -0.025f);
    EXPECT_FLOAT_EQ(b.x[0], 259.975f);
    EXPECT_NEAR(std::hypot(b.dx[1], b.dy[1]), 2.0f, 1e-5f);
    rig.player().attract = 0;
    rig.add_bonus(3, 319.5f, 199.5f, 0.5f, 0.5f);
    boni_step(*rig.sys, *rig.game);
    EXPECT_FLOAT_EQ(b.x[2], 0.0f);  // 320 is off the field: wrapped to 0
    EXPECT_FLOAT_EQ(b.y[2], 0.0f);
}

TEST(BoniMotion, CollectedLastBonusIsNotDrawnAgain) {
    WorldRig rig;
    rig.add_bonus(6, 160.0f, 100.0f);
    boni_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.game->boni.count, 0);
    EXPECT_NE(rig.sys->frame.at(160, 96), 33);  // the icon colour of the test sprites
    WorldRig two;
    two.add_bonus(6, 160.0f, 100.0f);
    two.add_bonus(1, 50.0f, 50.0f);
    boni_step(*two.sys, *two.game);
    ASSERT_EQ(two.game->boni.count, 1);
    EXPECT_EQ(two.sys->frame.at(50, 50), 33);  // moved into slot 0, drawn where it stands
}
