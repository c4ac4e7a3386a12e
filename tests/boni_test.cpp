// Boni in play: the collection test, every pick-up's effect and cap, and the wrap.
#include <gtest/gtest.h>

#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

// Collects `times` boni of `kind` lying on the ship.
void collect(WorldRig& rig, int32_t kind, int times = 1) {
    for (int n = 0; n < times; ++n) rig.add_bonus(kind, rig.player().ship_x, rig.player().ship_y), rig.boni();
}

}  // namespace

// (The flash's dots and sparks are pinned by the recorded games; their colours are not.)
TEST(BoniCollection, CloserThanTwelvePixelsByALiveVulnerableShip) {
    WorldRig rig, shielded;
    for (const float x : {172.0f, 171.9f}) rig.game->boni.count = 0, rig.add_bonus(6, x, 100.0f), rig.boni();
    EXPECT_TRUE(rig.game->boni.count == 0 && rig.player().score == 150);  // taken at 11.9 pixels, not at 12
    const DebrisPool& d = rig.game->debris;
    for (int32_t k = 0; k < d.count; ++k) EXPECT_TRUE(d.colour[k] == 10 || d.colour[k] == 11 || d.colour[k] == 15) << k;
    EXPECT_EQ(rig.sparks().colour[rig.sparks().count - 1], 5);
    shielded.player().invincible = 30;
    collect(shielded, 6);
    shielded.player().invincible = 0, shielded.player().death_timer = 4;
    shielded.boni();
    EXPECT_TRUE(shielded.game->boni.count == 1 && shielded.player().score == 0);
}

// (The plain counters and the restarting white heat are pinned by the recorded games.)
TEST(BoniEffects, SpreadAndStreamTradeAndEveryCap) {
    WorldRig rig;
    Player& p = rig.player();
    p.ships = 254;
    // Kind 0 collects nothing: it only checks a second field after the step before.
    struct Step { int32_t kind; int times; int32_t Player::*field; int32_t expected; };
    const Step steps[] = {
        {4, 1, &Player::spread, 2},      {0, 0, &Player::stream, 1},       {4, 1, &Player::spread, 3},
        {9, 1, &Player::stream, 2},      {0, 0, &Player::spread, 2},       {4, 1, &Player::spread, 3},
        {0, 0, &Player::stream, 1},      {11, 8, &Player::bullets, 2400},  {11, 1, &Player::bullets, 2500},
        {11, 1, &Player::bullets, 2500}, {8, 1, &Player::ships, 255},      {8, 1, &Player::ships, 255},
        {13, 1, &Player::invincible, 1000},
    };
    for (const Step& s : steps) {
        const int32_t sparks = rig.sparks().count;
        collect(rig, s.kind, s.times);
        EXPECT_EQ(p.*s.field, s.expected) << "after kind " << s.kind;
        EXPECT_TRUE(s.kind != 8 || rig.sparks().count == sparks + 1100);  // a burst even at the cap, then the flash
    }
    WorldRig speed;
    collect(speed, 7, 6);
    EXPECT_NEAR(speed.player().shot_speed, 3.0f * std::pow(1.4f, 6.0f), 1e-3f);
    collect(speed, 7, 2);
    EXPECT_EQ(speed.player().shot_speed, 30.0f);  // not 31.6
}

TEST(BoniMotion, WrapAtTheFarEdgesAndACollectedLastBonusDrawnOnceMore) {
    WorldRig rig;
    rig.add_bonus(3, 319.5f, 199.5f, 0.5f, 0.5f);
    rig.boni();
    EXPECT_TRUE(rig.game->boni.x[0] == 0.0f && rig.game->boni.y[0] == 0.0f);  // 320 and 200 are off the field for boni
    WorldRig last;  // 33: the icon colour; a collected last bonus's old entry is drawn
    last.add_bonus(6, 160.0f, 100.0f);
    last.boni();
    EXPECT_TRUE(last.game->boni.count == 0 && last.sys->frame.at(160, 96) == 33);
    last.sys->frame.clear();
    last.add_bonus(6, 160.0f, 100.0f);
    last.add_bonus(1, 50.0f, 50.0f);
    last.boni();
    EXPECT_EQ(last.sys->frame.at(50, 50), 33);  // moved into slot 0, drawn where it stands
}
