// The ship: retro thrust, its pictures, drawing and blinking, the wreck, and the ring at the
// end of its invincibility.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "player/ship.h"
#include "game_fixture.h"

using namespace qvar;

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

TEST(ShipMotion, AFullSparkPoolStillThrusts) {
    test::GameFixture f;
    f.sparks().count = SPARK_CAPACITY;
    f.player().retro = 1;
    thrust_ship(f.sys(), *f.game, true);
    EXPECT_FLOAT_EQ(f.player().ship_vy, -0.08f);
    retro_thrust_ship(f.sys(), *f.game, true);
    EXPECT_FLOAT_EQ(f.player().ship_vy, -0.04f);
}

TEST(ShipMotion, AnyAngleGivesOneOfTheSixtyThreePictures) {
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

TEST(ShipLife, TheLastInvincibleFrameRingsTheShipInDarkBlueAsFarAsThePoolHolds) {
    test::GameFixture f;
    f.sparks().count = SPARK_CAPACITY - 300;
    f.player().invincible = 2;
    ship_end_of_frame(f.sys(), *f.game);
    EXPECT_EQ(std::make_tuple(f.sparks().count, f.sparks().colour[SPARK_CAPACITY - 1]), std::make_tuple(SPARK_CAPACITY, uint8_t{1}));
}
