// The ship: thrust and damping, wrap-round, turning, drawing and blinking, destruction,
// respawn against the running-up score, and the end of invincibility.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/hud.h"
#include "game/ship.h"
#include "game/sparks.h"
#include "game_fixture.h"
#include "gfx/draw.h"
#include "util/numeric.h"

using namespace qvar;

TEST(ShipMotion, ThrustApproachesTheTopSpeed) {
    test::GameFixture f;
    Player& p = f.player();
    for (int n = 0; n < 100; ++n) {
        thrust_ship(f.sys(), *f.game, true);
        move_ship(p);
    }
    EXPECT_NEAR(-p.ship_vy, 7.92f * (1.0f - std::pow(0.99f, 100.0f)), 1e-3f);
    EXPECT_NEAR(-p.ship_vy, 5.02f, 0.01f);
    EXPECT_FLOAT_EQ(p.ship_vx, 0.0f);
    EXPECT_EQ(f.sys().sparks.count, 1000 + 600);  // six exhaust sparks a frame
    for (int n = 0; n < 2000; ++n) {
        thrust_ship(f.sys(), *f.game, true);
        move_ship(p);
    }
    EXPECT_NEAR(-p.ship_vy, 7.92f, 1e-3f);
}

TEST(ShipMotion, ExhaustSparksLeaveBackwardsInFireColours) {
    test::GameFixture f;
    f.sys().sparks.count = 0;
    thrust_ship(f.sys(), *f.game, true);
    const SparkPool& s = f.sys().sparks;
    ASSERT_EQ(s.count, 6);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_GE(s.colour[i], 40);
        EXPECT_LE(s.colour[i], 44);
        EXPECT_GT(s.dy[i], 1.4f);  // heading up, exhaust goes down at about 2
    }
    f.sys().sparks.count = SPARK_CAPACITY;
    f.player().ship_vy = 0.0f;
    thrust_ship(f.sys(), *f.game, true);
    EXPECT_EQ(f.sys().sparks.count, SPARK_CAPACITY);
    EXPECT_FLOAT_EQ(f.player().ship_vy, -0.08f);  // a full pool still thrusts
}

TEST(ShipMotion, RetroThrustNeedsTheUpgradeAndScalesWithIt) {
    test::GameFixture f;
    Player& p = f.player();
    f.sys().sparks.count = 0;
    retro_thrust_ship(f.sys(), *f.game, true);
    EXPECT_FLOAT_EQ(p.ship_vy, 0.0f);
    EXPECT_EQ(f.sys().sparks.count, 0);
    p.retro = 1;
    retro_thrust_ship(f.sys(), *f.game, true);
    EXPECT_FLOAT_EQ(p.ship_vy, 0.04f);  // half the thrust, backwards
    EXPECT_EQ(f.sys().sparks.colour[0], 41);
    EXPECT_LT(f.sys().sparks.dy[0], -2.5f);  // blown forward
    const float side = std::fabs(f.sys().sparks.x[0] - 160.0f);
    EXPECT_FLOAT_EQ(side, 5.0f);
    p.retro = 6;
    f.sys().sparks.count = 0;
    retro_thrust_ship(f.sys(), *f.game, true);
    EXPECT_EQ(f.sys().sparks.colour[0], 44);
}

TEST(ShipMotion, WrapsRoundTheEdges) {
    Player p;
    p.ship_x = 319.5f;
    p.ship_vx = 1.0f;
    move_ship(p);
    EXPECT_FLOAT_EQ(p.ship_x, 0.5f);
    p.ship_y = 0.25f;
    p.ship_vx = 0.0f;
    p.ship_vy = -0.5f;
    move_ship(p);
    EXPECT_FLOAT_EQ(p.ship_y, 199.75f);
}

TEST(ShipMotion, TurningKeepsTheAngleInOneTurn) {
    Player p;
    turn_ship(p, true, true);
    EXPECT_FLOAT_EQ(p.ship_angle, 0.0f);
    turn_ship(p, true, false);
    move_ship(p);
    EXPECT_NEAR(p.ship_angle, 6.183f, 1e-5f);
    EXPECT_NEAR(p.heading_x, std::sin(-0.1f), 1e-6f);  // heading from the angle before wrapping
    for (int i = 0; i < 1000; ++i) {
        turn_ship(p, false, true);
        move_ship(p);
        ASSERT_GE(p.ship_angle, 0.0f);
        ASSERT_LT(p.ship_angle, 6.283f);
        ASSERT_LE(ship_orientation(p.ship_angle), 62);
    }
    EXPECT_EQ(ship_orientation(-0.05f), 0);
    EXPECT_EQ(ship_orientation(6.2829f), 62);
    EXPECT_EQ(ship_orientation(100.0f), 62);
    EXPECT_EQ(ship_orientation(std::numeric_limits<float>::quiet_NaN()), 0);
}

namespace {

bool ship_drawn(test::GameFixture& f) {
    f.sys().frame.clear();
    ship_end_of_frame(f.sys(), *f.game);
    for (uint8_t px : f.sys().frame.pixels)
        if (px != 0) return true;
    return false;
}

}  // namespace

TEST(ShipLife, DrawnAtItsOrientationWrappedRoundTheEdges) {
    test::GameFixture f;
    Player& p = f.player();
    p.ship_x = 2.0f;
    p.ship_y = 50.0f;
    ship_end_of_frame(f.sys(), *f.game);
    FrameBuffer expected;
    blit_sprite_wrapped(expected, trunc_i32(2.0f - 7.5f), 42, f.game->sprites.ship[0]);
    EXPECT_EQ(f.sys().frame.pixels, expected.pixels);
    EXPECT_NE(get_pixel(expected, 318, 43), 0);  // the left part shows at the right edge
}

TEST(ShipLife, InvincibleShipBlinksAndShowsMoreOftenAtTheEnd) {
    test::GameFixture f;
    Player& p = f.player();
    p.invincible = 201;  // becomes 200 after this frame, but drawing comes first: odd, hidden
    EXPECT_FALSE(ship_drawn(f));
    EXPECT_TRUE(ship_drawn(f));   // 200
    EXPECT_FALSE(ship_drawn(f));  // 199
    p.invincible = 79;            // below 80: hidden only when the count mod 4 is 3
    int shown = 0;
    for (int i = 0; i < 8; ++i) shown += ship_drawn(f);
    EXPECT_EQ(shown, 6);
}

TEST(ShipLife, EndOfInvincibilityThrowsADarkBlueRing) {
    test::GameFixture f;
    f.sys().sparks.count = 0;
    f.player().invincible = 2;
    ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(f.player().invincible, 1);
    ASSERT_EQ(f.sys().sparks.count, 1000);
    EXPECT_EQ(f.sys().sparks.colour[999], 1);
    ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(f.player().invincible, 0);
    EXPECT_EQ(f.sys().sparks.count, 1000);
}

TEST(ShipLife, TimersCountTheEmptyFieldAndWhiteHeat) {
    test::GameFixture f;
    Player& p = f.player();
    p.whitehot_timer = 2;
    p.weapon = 4;
    ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(p.clear_frames, 1);
    EXPECT_EQ(p.whitehot_timer, 1);
    EXPECT_EQ(p.weapon, 4);
    f.add_foe(10.0f, 10.0f);
    ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(p.clear_frames, 1);  // a foe on the field holds the level timer
    EXPECT_EQ(p.whitehot_timer, 0);
    EXPECT_EQ(p.weapon, 1);
}

namespace {

// Runs the frame's end as the frame loop does: the ship's end of frame, then the score.
// Returns the frame (0 = the frame of the destruction) in which the ship reappeared.
int frames_until_respawn(test::GameFixture& f, int32_t pending_score) {
    destroy_ship(f.sys(), *f.game);
    f.player().score += pending_score;
    const int32_t ships = f.player().ships;
    for (int frame = 0; frame < 1000; ++frame) {
        ship_end_of_frame(f.sys(), *f.game);
        hud_second_half(f.sys(), *f.game);
        if (f.player().ships != ships) return frame;
    }
    return -1;
}

}  // namespace

TEST(ShipLife, RespawnsAfterHundredFramesOnceTheScoreHasCaughtUp) {
    test::GameFixture f;
    Player& p = f.player();
    p.ship_x = 30.0f;
    p.ship_vx = 1.0f;
    p.ship_angle = 2.0f;
    p.bullets = 300;
    p.spread = 3;
    p.stream = 2;
    p.surround = 2;
    p.shot_speed = 4.2f;
    p.plasma_count = 3;
    f.sys().sparks.count = 0;
    EXPECT_EQ(frames_until_respawn(f, 0), 98);
    EXPECT_EQ(p.ships, 2);
    EXPECT_EQ(p.death_timer, 0);
    EXPECT_EQ(p.invincible, 250);
    EXPECT_FLOAT_EQ(p.ship_x, 160.0f);
    EXPECT_FLOAT_EQ(p.ship_vx, 0.0f);
    EXPECT_FLOAT_EQ(p.ship_angle, 0.0f);
    EXPECT_EQ(p.bullets, 0);
    EXPECT_EQ(p.spread, 1);
    EXPECT_EQ(p.stream, 1);
    EXPECT_EQ(p.surround, 0);
    EXPECT_EQ(p.plasma_count, 0);
    EXPECT_FLOAT_EQ(p.shot_speed, 3.0f);
    EXPECT_EQ(f.sys().sparks.count, 2000);  // the explosion and the respawn burst
}

TEST(ShipLife, PendingScoreDelaysTheRespawn) {
    test::GameFixture f;
    // 0 -> 150 takes 116 frames of run-up, well past the 100 frames of the wait.
    EXPECT_EQ(frames_until_respawn(f, 150), 116);
}

TEST(ShipLife, DestroyedShipDriftsTurnsAndCannotThrust) {
    test::GameFixture f;
    Player& p = f.player();
    p.ship_vx = 1.0f;
    destroy_ship(f.sys(), *f.game);
    thrust_ship(f.sys(), *f.game, true);
    p.retro = 2;
    retro_thrust_ship(f.sys(), *f.game, true);
    turn_ship(p, false, true);
    move_ship(p);
    EXPECT_FLOAT_EQ(p.ship_x, 161.0f);
    EXPECT_FLOAT_EQ(p.ship_vx, 0.99f);
    EXPECT_FLOAT_EQ(p.ship_vy, 0.0f);
    EXPECT_FLOAT_EQ(p.ship_angle, 0.1f);
    EXPECT_FALSE(ship_drawn(f));
}

TEST(ShipLife, ANewLevelShowsTheWreckWithoutCountingItsFrames) {
    test::GameFixture f;
    Player& p = f.player();
    destroy_ship(f.sys(), *f.game);
    p.death_timer = 50;
    p.invincible = 78;  // 78 mod 4 = 2: hidden, the wreck's frames count
    EXPECT_FALSE(ship_drawn(f));
    EXPECT_EQ(p.death_timer, 51);
    EXPECT_TRUE(ship_drawn(f));  // 77 mod 4 = 1: drawn, the count stands still
    EXPECT_EQ(p.death_timer, 51);
}
