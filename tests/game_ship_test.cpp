// The ship: thrust and damping, wrap-round, turning, drawing and blinking, destruction,
// respawn against the running-up score, and the end-of-frame timers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "player/hud.h"
#include "player/ship.h"
#include "util/float_math.h"
#include "game_fixture.h"

using namespace qvar;

TEST(ShipMotion, ThrustApproachesTheTopSpeedTrailingExhaust) {
    test::GameFixture f;
    Player& p = f.player();
    f.sparks().count = 0;
    thrust_ship(f.sys(), *f.game, true);
    ASSERT_EQ(f.sparks().count, 6);  // six exhaust sparks a frame, backwards in fire colours
    for (size_t i = 0; i < 6; ++i)
        EXPECT_TRUE(f.sparks().colour[i] >= 40 && f.sparks().colour[i] <= 44 && f.sparks().dy[i] > 1.4f) << i;
    move_ship(p);
    for (int n = 1; n < 100; ++n) thrust_ship(f.sys(), *f.game, true), move_ship(p);
    EXPECT_NEAR(-p.ship_vy, 5.02f, 0.01f);
    EXPECT_EQ(p.ship_vx, 0.0f);
    for (int n = 0; n < 2000; ++n) thrust_ship(f.sys(), *f.game, true), move_ship(p);
    EXPECT_NEAR(-p.ship_vy, 7.92f, 1e-3f);
    EXPECT_EQ(f.sparks().count, SPARK_CAPACITY);  // a full pool still thrusts
    p.ship_vy = 0.0f;
    thrust_ship(f.sys(), *f.game, true);
    EXPECT_FLOAT_EQ(p.ship_vy, -0.08f);
}

TEST(ShipMotion, RetroThrustNeedsTheUpgradeAndScalesWithIt) {
    // Sparks blown forward from 5 pixels to one side, coloured by the upgrade.
    const struct { int32_t retro, sparks; float vy; int colour; } cases[] = {{0, 0, 0.0f, 0}, {1, 6, 0.04f, 41}, {6, 6, 0.07875f, 44}};
    for (const auto& c : cases) {
        test::GameFixture f;
        f.sparks().count = 0;
        f.player().retro = c.retro;
        retro_thrust_ship(f.sys(), *f.game, true);
        const SparkPool& s = f.sparks();
        EXPECT_EQ(s.count, c.sparks) << c.retro;
        EXPECT_TRUE(c.sparks == 0 || (s.colour[0] == c.colour && s.dy[0] < -2.5f && std::fabs(s.x[0] - 160.0f) == 5.0f)) << c.retro;
        EXPECT_FLOAT_EQ(f.player().ship_vy, c.vy) << c.retro;
    }
}

TEST(ShipMotion, WrapsRoundTheEdges) {
    const struct { float x, y, vx, vy, want_x, want_y; } cases[] = {
        {319.5f, 10.0f, 1.0f, 0.0f, 0.5f, 10.0f}, {10.0f, 0.25f, 0.0f, -0.5f, 10.0f, 199.75f}, {0.25f, 199.5f, -0.5f, 1.0f, 319.75f, 0.5f}};
    for (const auto& c : cases) {
        Player p;
        p.ship_x = c.x, p.ship_y = c.y, p.ship_vx = c.vx, p.ship_vy = c.vy;
        move_ship(p);
        EXPECT_EQ(std::make_tuple(p.ship_x, p.ship_y), std::make_tuple(c.want_x, c.want_y)) << c.x << "," << c.y;
    }
}

TEST(ShipMotion, TurningKeepsTheAngleInOneTurnAndTheOrientationInRange) {
    Player p;
    turn_ship(p, true, true);
    EXPECT_FLOAT_EQ(p.ship_angle, 0.0f);
    turn_ship(p, true, false);
    move_ship(p);
    EXPECT_NEAR(p.ship_angle, 6.183f, 1e-5f);
    EXPECT_NEAR(p.heading_x, sine(-0.1f), 1e-6f);  // heading from the angle before wrapping
    for (int i = 0; i < 1000; ++i) {
        turn_ship(p, false, true);
        move_ship(p);
        ASSERT_TRUE(p.ship_angle >= 0.0f && p.ship_angle < 6.283f && ship_orientation(p.ship_angle) <= 62) << i;
    }
    // Angles a turn cannot produce still pick one of the 63 pictures.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct { float angle; int32_t want; } odd[] = {{-0.5f, 0}, {6.2829f, 62}, {100.0f, 62}, {nan, 0}};
    for (const auto& c : odd) EXPECT_EQ(ship_orientation(c.angle), c.want) << c.angle;
}

namespace {

// The ship's ends of frame over n frames: '#' where it was drawn, '.' where not.
std::string drawn_pattern(test::GameFixture& f, int n) {
    std::string pattern;
    for (int i = 0; i < n; ++i) {
        f.sys().frame.clear();
        ship_end_of_frame(f.sys(), *f.game);
        pattern += test::count_pixels(f.frame()) > 0 ? '#' : '.';
    }
    return pattern;
}

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

TEST(ShipLife, BlinksWhileInvincibleAndTheWreckCountsOnlyWhileHidden) {
    test::GameFixture f;
    Player& p = f.player();
    p.invincible = 201;  // drawing comes before the count: hidden while it is odd
    EXPECT_EQ(drawn_pattern(f, 3), ".#.");
    p.invincible = 79;  // below 80 also shown when the count mod 4 is 1
    EXPECT_EQ(drawn_pattern(f, 8), ".###.###");
    // The wreck drifts, turns, cannot thrust and is not drawn.
    p.ship_vx = 1.0f, p.invincible = 0;
    destroy_ship(f.sys(), *f.game);
    p.retro = 2;
    thrust_ship(f.sys(), *f.game, true);
    retro_thrust_ship(f.sys(), *f.game, true);
    turn_ship(p, false, true);
    move_ship(p);
    EXPECT_EQ(std::tie(p.ship_x, p.ship_vx, p.ship_vy, p.ship_angle), std::make_tuple(161.0f, 0.99f, 0.0f, 0.1f));
    EXPECT_EQ(drawn_pattern(f, 1), ".");
    // A new level shows the wreck blinking: its frames count only while it is hidden.
    p.death_timer = 50, p.invincible = 78;
    EXPECT_EQ(drawn_pattern(f, 2), ".#");
    EXPECT_EQ(p.death_timer, 51);
}

TEST(ShipLife, EndOfFrameTimers) {
    test::GameFixture f;
    Player& p = f.player();
    f.sparks().count = SPARK_CAPACITY - 300;
    p.invincible = 2, p.whitehot_timer = 2, p.weapon = 4;
    ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(std::tie(p.invincible, p.whitehot_timer, p.weapon, p.clear_frames), std::make_tuple(1, 1, 4, 1));
    // A dark blue ring, cut to what the pool still takes.
    EXPECT_EQ(std::make_tuple(f.sparks().count, f.sparks().colour[SPARK_CAPACITY - 1]), std::make_tuple(SPARK_CAPACITY, uint8_t{1}));
    f.add_foe(10.0f, 10.0f);  // a foe on the field holds the level timer
    ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(std::tie(p.invincible, p.whitehot_timer, p.weapon, p.clear_frames), std::make_tuple(0, 0, 1, 1));
    EXPECT_EQ(f.sparks().count, SPARK_CAPACITY);
}

TEST(ShipLife, RespawnsAfterHundredFramesOnceTheScoreHasCaughtUp) {
    test::GameFixture f;
    Player& p = f.player();
    p.ship_x = 30.0f, p.ship_vx = 1.0f, p.ship_angle = 2.0f, p.shot_speed = 4.2f;
    p.bullets = 300, p.spread = 3, p.stream = 2, p.surround = 2, p.plasma_count = 3;
    f.sparks().count = 0;
    EXPECT_EQ(frames_until_respawn(f, 0), 98);
    EXPECT_EQ(std::tie(p.ships, p.death_timer, p.invincible, p.bullets, p.spread, p.stream, p.surround, p.plasma_count),
              std::make_tuple(2, 0, 250, 0, 1, 1, 0, 0));
    EXPECT_EQ(std::tie(p.ship_x, p.ship_vx, p.ship_angle, p.shot_speed), std::make_tuple(160.0f, 0.0f, 0.0f, 3.0f));
    EXPECT_EQ(f.sparks().count, 2000);  // the explosion and the respawn burst
    EXPECT_EQ(test::bad_burst_spark(f.sparks(), 1000, 2000), -1);
    // 0 -> 150 takes 116 frames of run-up, well past the 100 frames of the wait.
    test::GameFixture pending;
    pending.sparks().count = SPARK_CAPACITY;  // a full pool takes neither burst
    EXPECT_EQ(frames_until_respawn(pending, 150), 116);
    EXPECT_EQ(pending.sparks().count, SPARK_CAPACITY);
}
