// Weapons: volley geometry, selection and availability, the white-hot lock, the
// machine-gun's cadence and recoil, costs, and a full shot pool.
#include <gtest/gtest.h>

#include <cmath>

#include "game/ship.h"
#include "game/weapons.h"
#include "game_fixture.h"

using namespace qvar;

namespace {

struct ShotView {
    float x, y, dx, dy;
    int32_t life, kind;
};

ShotView shot(const Game& g, int32_t i) {
    const auto k = static_cast<size_t>(i);
    return {g.shots.x[k], g.shots.y[k], g.shots.dx[k], g.shots.dy[k], g.shots.life[k], g.shots.kind[k]};
}

}  // namespace

TEST(Volley, SingleShotLeavesEightPixelsAheadAtShotSpeed) {
    test::GameFixture f;
    Player& p = f.player();
    p.ship_vx = 0.5f;
    EXPECT_EQ(fire_volley(*f.game), 1);
    const ShotView s = shot(*f.game, 0);
    EXPECT_FLOAT_EQ(s.x, 160.0f);
    EXPECT_FLOAT_EQ(s.y, 92.0f);
    const float g = std::exp(-0.05f);
    EXPECT_FLOAT_EQ(s.dx, 0.5f * g);  // the ship's velocity is carried
    EXPECT_FLOAT_EQ(s.dy, -3.0f * g);
    EXPECT_EQ(s.life, 66);
    EXPECT_EQ(s.kind, 1);
}

TEST(Volley, SpreadOfThreeFansOutAndSpeedsUp) {
    test::GameFixture f;
    f.player().spread = 3;
    ASSERT_EQ(fire_volley(*f.game), 3);
    const float offsets[3] = {-1.0f, 0.0f, 1.0f};
    const double factors[3] = {std::exp(-0.05), std::exp(-0.05 + 0.1 / 3), std::exp(-0.05 + 0.2 / 3)};
    EXPECT_NEAR(factors[1], std::exp(-0.0167), 1e-4);
    EXPECT_NEAR(factors[2], std::exp(0.0167), 1e-4);
    for (int k = 0; k < 3; ++k) {
        const ShotView s = shot(*f.game, k);
        // Heading up: an offset f > 0 goes left (dx = f * heading_y = -f).
        EXPECT_NEAR(s.dx, -offsets[k] * factors[k], 1e-5) << k;
        EXPECT_NEAR(s.dy, -3.0 * factors[k], 1e-5) << k;
    }
}

TEST(Volley, StreamOfTwoStringsOutAlongTheLine) {
    test::GameFixture f;
    f.player().stream = 2;
    ASSERT_EQ(fire_volley(*f.game), 2);
    EXPECT_NEAR(shot(*f.game, 0).dy, -3.0 * std::exp(-0.1), 1e-5);
    EXPECT_NEAR(shot(*f.game, 1).dy, -3.0, 1e-5);
    EXPECT_FLOAT_EQ(shot(*f.game, 0).dx, 0.0f);
    EXPECT_FLOAT_EQ(shot(*f.game, 1).dx, 0.0f);
}

TEST(Volley, SurroundShotsSplitTheTurnLeavingOutForward) {
    test::GameFixture f;
    f.player().surround = 3;
    ASSERT_EQ(fire_volley(*f.game), 4);
    // Slot 0 is the forward shot; then a quarter, a half and three quarters of a turn.
    const float want[3][2] = {{3.0f, 0.0f}, {0.0f, 3.0f}, {-3.0f, 0.0f}};
    for (int k = 0; k < 3; ++k) {
        const ShotView s = shot(*f.game, k + 1);
        EXPECT_FLOAT_EQ(s.x, 160.0f);
        EXPECT_FLOAT_EQ(s.y, 100.0f);
        EXPECT_NEAR(s.dx, want[k][0], 1e-5f) << k;
        EXPECT_NEAR(s.dy, want[k][1], 1e-5f) << k;
        EXPECT_EQ(s.life, 66);
    }
    test::GameFixture back;
    back.player().surround = 1;
    fire_volley(*back.game);
    EXPECT_NEAR(shot(*back.game, 1).dy, 3.0f, 1e-5f);  // one extra shot leaves backwards
}

TEST(Volley, MachineGunBulletsFlyTwiceAsFastForHalfAsLong) {
    test::GameFixture f;
    Player& p = f.player();
    p.weapon = 5;
    p.bullets = 10;
    p.shot_speed = 4.2f;
    fire_volley(*f.game);
    const ShotView s = shot(*f.game, 0);
    EXPECT_EQ(s.life, 47 / 2);  // trunc(200 / 4.2) = 47
    EXPECT_NEAR(s.dy, -8.4f * std::exp(-0.05f), 1e-5f);
    EXPECT_EQ(s.kind, 5);
    EXPECT_EQ(p.bullets, 9);
    EXPECT_EQ(p.gun_cooldown, 3);
}

TEST(Volley, MachineGunRecoilPushesTheShipBack) {
    test::GameFixture f;
    Player& p = f.player();
    p.weapon = 5;
    p.bullets = 100;
    fire_volley(*f.game);
    EXPECT_NEAR(p.ship_vy, 0.07f * 0.08f * 3.0f, 1e-7f);
    EXPECT_FLOAT_EQ(p.ship_vx, 0.0f);
    p.ship_vy = 0.0f;
    p.surround = 1;  // surround-fire counts one shot fewer: no push left
    fire_volley(*f.game);
    EXPECT_FLOAT_EQ(p.ship_vy, 0.0f);
    p.spread = 3;
    fire_volley(*f.game);
    EXPECT_NEAR(p.ship_vy, 2 * 0.07f * 0.08f * 3.0f, 1e-6f);
}

TEST(Volley, PlasmaCostsOneBallAndNeverGoesBelowNone) {
    test::GameFixture f;
    Player& p = f.player();
    p.weapon = 3;
    p.plasma_count = 1;
    p.spread = 3;
    fire_volley(*f.game);
    EXPECT_EQ(p.plasma_count, 0);
    // The frame after a respawn can still have weapon 3 selected with nothing left.
    fire_volley(*f.game);
    EXPECT_EQ(p.plasma_count, 0);
    select_weapon(p, false);
    EXPECT_EQ(p.weapon, 1);
}

TEST(Volley, AFullPoolCutsTheVolleyShort) {
    test::GameFixture f;
    Player& p = f.player();
    p.spread = 5;
    p.weapon = 5;
    p.bullets = 100;
    f.game->shots.count = SHOT_CAPACITY - 2;
    EXPECT_EQ(fire_step(*f.game, true), 2);
    EXPECT_EQ(f.game->shots.count, SHOT_CAPACITY);
    EXPECT_EQ(p.bullets, 95);  // the whole volley is paid for
    p.fire_held = 0;
    EXPECT_EQ(fire_step(*f.game, true), 0);  // no room for even one shot
}

TEST(Volley, HugeUpgradesStayWithinThePool) {
    test::GameFixture f;
    Player& p = f.player();
    p.spread = 100000;
    p.stream = 100000;
    p.surround = 2000000000;
    EXPECT_EQ(fire_volley(*f.game), SHOT_CAPACITY);
}

TEST(FireStep, OneVolleyPerPressForWeaponsOneToFour) {
    test::GameFixture f;
    int volleys = 0;
    for (int frame = 0; frame < 10; ++frame) volleys += fire_step(*f.game, true) > 0;
    EXPECT_EQ(volleys, 1);
    fire_step(*f.game, false);
    EXPECT_GT(fire_step(*f.game, true), 0);
    f.player().death_timer = 5;
    fire_step(*f.game, false);
    EXPECT_EQ(fire_step(*f.game, true), 0);  // a destroyed ship cannot fire
}

TEST(FireStep, MachineGunRepeatsEveryThirdFrameUntilEmpty) {
    test::GameFixture f;
    Player& p = f.player();
    p.weapon = 5;
    p.bullets = 4;
    std::vector<int> fired_frames;
    for (int frame = 0; frame < 16; ++frame) {
        if (fire_step(*f.game, true) > 0) fired_frames.push_back(frame);
        select_weapon(p, false);
    }
    EXPECT_EQ(fired_frames, (std::vector<int>{0, 3, 6, 9}));
    EXPECT_EQ(p.bullets, 0);
    EXPECT_EQ(p.weapon, 1);  // left in the frame the last bullet went
}

TEST(WeaponChoice, ControlStepsThroughAvailableWeaponsOncePerPress) {
    Player p;
    p.flame_count = 1;
    p.bullets = 10;
    std::vector<int32_t> seen;
    for (int press = 0; press < 4; ++press) {
        select_weapon(p, true);
        select_weapon(p, true);  // held: no second step
        seen.push_back(p.weapon);
        select_weapon(p, false);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{2, 5, 1, 2}));
}

TEST(WeaponChoice, EmptySuppliesAreLeftInTheNextFrame) {
    Player p;
    p.weapon = 2;
    p.plasma_count = 3;
    select_weapon(p, false);
    EXPECT_EQ(p.weapon, 3);
    p.plasma_count = 0;
    select_weapon(p, false);
    EXPECT_EQ(p.weapon, 1);
    EXPECT_TRUE(weapon_available(p, 1));
    EXPECT_FALSE(weapon_available(p, 3));
}

TEST(WeaponChoice, WhiteHotFireLocksWeaponFour) {
    Player p;
    p.bullets = 10;
    p.whitehot_timer = 100;
    select_weapon(p, false);
    EXPECT_EQ(p.weapon, 4);
    for (int press = 0; press < 3; ++press) {
        select_weapon(p, true);
        EXPECT_EQ(p.weapon, 4);
        select_weapon(p, false);
    }
}

TEST(WeaponChoice, WhiteHeatRunsOutBackToTheGun) {
    test::GameFixture f;
    Player& p = f.player();
    p.whitehot_timer = 3;
    select_weapon(p, false);
    for (int frame = 0; frame < 3; ++frame) ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(p.whitehot_timer, 0);
    EXPECT_EQ(p.weapon, 1);
}
