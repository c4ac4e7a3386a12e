// Weapons and what they leave behind: volleys, choice, cadence, recoil and costs; the shot
// step with each weapon's effect; and the game's spark step.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

#include "player/shots.h"
#include "player/sparks.h"
#include "player/weapons.h"
#include "game_fixture.h"
#include "gfx/draw.h"

using namespace qvar;

// (A stream, one surround shot and the ship's speed carried are pinned by the recorded games.)
TEST(Volley, Geometry) {
    // Heading up at shot speed 3, forward shots leave 8 pixels ahead: a row fans out sideways
    // and speeds up along the line, and surround shots leave the centre splitting the turn with
    // the forward direction left out. Each shot is {x, y, dx, dy}.
    const struct { int32_t spread, surround; std::vector<std::array<float, 4>> shots; } cases[] = {
        {3, 0, {{160, 92, 0.951229f, -2.853688f}, {160, 92, 0, -2.950414f}, {160, 92, -1.016806f, -3.050419f}}},
        {1, 3, {{160, 92, 0, -2.853688f}, {160, 100, 3, 0}, {160, 100, 0, 3}, {160, 100, -3, 0}}},
    };
    for (const auto& c : cases) {
        test::GameFixture f;
        f.player().spread = c.spread, f.player().surround = c.surround;
        ASSERT_EQ(fire_volley(*f.game), static_cast<int32_t>(c.shots.size()));
        const ShotPool& s = f.game->shots;
        for (size_t k = 0; k < c.shots.size(); ++k) {
            EXPECT_EQ(std::make_tuple(s.x[k], s.y[k], s.life[k], s.kind[k]), std::make_tuple(c.shots[k][0], c.shots[k][1], 66, 1)) << k;
            EXPECT_NEAR(s.dx[k], c.shots[k][2], 1e-5f) << k;
            EXPECT_NEAR(s.dy[k], c.shots[k][3], 1e-5f) << k;
        }
    }
}

TEST(Volley, MachineGunBulletsCostAndRecoil) {
    test::GameFixture f;
    Player& p = f.player();
    p.weapon = 5, p.bullets = 10, p.shot_speed = 4.2f;
    fire_volley(*f.game);
    const ShotPool& s = f.game->shots;
    EXPECT_EQ(std::make_tuple(s.life[0], s.kind[0], p.bullets, p.gun_cooldown), std::make_tuple(23, 5, 9, 3));  // 47 / 2
    EXPECT_NEAR(s.dy[0], -7.990327f, 1e-5f);  // twice as fast
    // The push back is per forward shot; surround-fire cancels one of them.
    const struct { int32_t spread, surround; float vy; } recoil[] = {{1, 0, 0.0168f}, {1, 1, 0.0f}, {3, 1, 0.0336f}};
    for (const auto& c : recoil) {
        p.spread = c.spread, p.surround = c.surround, p.shot_speed = 3.0f, p.ship_vy = 0.0f;
        fire_volley(*f.game);
        EXPECT_NEAR(p.ship_vy, c.vy, 1e-6f) << c.spread << " " << c.surround;
        EXPECT_EQ(p.ship_vx, 0.0f);
    }
}

TEST(Volley, PlasmaNeverBelowNoneAFullPoolAndHugeUpgrades) {
    test::GameFixture f;
    Player& p = f.player();
    p.weapon = 3, p.plasma_count = 1, p.spread = 3;
    fire_volley(*f.game);
    // The frame after a respawn can still have weapon 3 selected with nothing left.
    fire_volley(*f.game);
    EXPECT_EQ(p.plasma_count, 0);
    // A full pool cuts a volley short, but the whole volley is paid for.
    p.spread = 5, p.weapon = 5, p.bullets = 100, p.fire_held = 0;
    f.game->shots.count = SHOT_CAPACITY - 2;
    EXPECT_EQ(fire_step(*f.game, true), 2);
    EXPECT_EQ(std::make_tuple(f.game->shots.count, p.bullets), std::make_tuple(SHOT_CAPACITY, 95));
    p.fire_held = 0;
    EXPECT_EQ(fire_step(*f.game, true), 0);  // no room for even one shot
    f.game->shots.count = 0;
    p.spread = 100000, p.stream = 100000, p.surround = 2000000000;
    EXPECT_EQ(fire_volley(*f.game), SHOT_CAPACITY);
}

// (One volley per press and no fire from a wreck are pinned by the recorded games.)
TEST(FireStep, TheMachineGunFiresEveryThirdFrameWhileHeld) {
    test::GameFixture f;
    Player& p = f.player();
    p.weapon = 5, p.bullets = 4;
    std::vector<int> fired_frames;
    for (int frame = 0; frame < 16; ++frame) {
        if (fire_step(*f.game, true) > 0) fired_frames.push_back(frame);
        select_weapon(p, false);
    }
    EXPECT_EQ(fired_frames, (std::vector<int>{0, 3, 6, 9}));
    EXPECT_EQ(std::tie(p.bullets, p.weapon), std::make_tuple(0, 1));  // left when the last bullet went
}

// (White-hot fire locking weapon 4 is pinned by the recorded games.)
TEST(WeaponChoice, ControlStepsThroughAvailableWeaponsOncePerPress) {
    Player p;
    p.flame_count = 1, p.bullets = 10;
    std::vector<int32_t> seen;
    for (int press = 0; press < 4; ++press) {
        select_weapon(p, true);
        select_weapon(p, true);  // held: no second step
        seen.push_back(p.weapon);
        select_weapon(p, false);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{2, 5, 1, 2}));
    // Empty supplies are skipped, and a weapon whose supply ran out is left in the next frame.
    p.flame_count = 0, p.plasma_count = 3, p.bullets = 0;
    select_weapon(p, false);
    EXPECT_EQ(p.weapon, 3);
    p.plasma_count = 0;
    select_weapon(p, false);
    EXPECT_EQ(p.weapon, 1);
}

// (Lifetimes and spent shots are pinned by the recorded games.)
TEST(ShotStep, WrapsStrictlyBeyondTheFarEdgesAndDrawsShotAndBullet) {
    test::GameFixture f;
    const ShotPool& s = f.game->shots;
    f.add_shot(319.5f, 10.0f, 1.0f, 0.0f, 5, 1);
    f.add_shot(319.5f, 100.0f, 0.5f, 0.0f, 5, 5);
    f.add_shot(10.0f, 1.0f, 0.0f, -1.5f, 5, 1);
    shot_step(f.sys(), *f.game);
    EXPECT_EQ(std::make_tuple(s.x[0], s.x[1], s.y[2]), std::make_tuple(0.5f, 320.0f, 199.5f));
    // The 3x3 shot and the 2x2 bullet round their centres, wrapped.
    test::expect_pixels(f.frame(), {{0, 9, 2}, {1, 10, 14}, {319, 99, 27}, {0, 99, 29}});
}

// (What each effect does to foes, shots and the pools is pinned by the recorded games.)
TEST(ShotStep, ColoursOfTheFlameWhiteHeatAndPlasmaAndFullPools) {
    for (const int32_t kind : {2, 3, 4}) {
        test::GameFixture f;
        f.sparks().count = 0;
        f.add_shot(49.5f, 49.5f, 2.0f, 0.0f, 30, kind);
        shot_step(f.sys(), *f.game);
        const DebrisPool& d = f.game->debris;
        for (size_t i = 0; i < static_cast<size_t>(d.count); ++i) {
            const uint8_t c = d.colour[i];
            EXPECT_TRUE(kind == 2 ? (c >= 129 && c <= 132) || c == 137 || c == 142 || c == 147 || c == 152 : c == 15) << int(c);
        }
        for (size_t i = 0; i < static_cast<size_t>(f.sparks().count); ++i) EXPECT_TRUE(f.sparks().colour[i] >= 24 && f.sparks().colour[i] <= 31);
        // A plasma ball glows in colour 11 and 228..237; the others draw nothing themselves.
        int glow = 0;
        for (uint8_t c : f.frame()) glow += c == 11 || (c >= 228 && c <= 237);
        EXPECT_EQ(glow, test::count_pixels(f.frame()));
        EXPECT_EQ(glow > 5, kind == 3);
        f.game->debris.count = DEBRIS_CAPACITY - 4;  // full pools take what fits
        f.sparks().count = SPARK_CAPACITY - 2;
        shot_step(f.sys(), *f.game);
        EXPECT_EQ(std::make_tuple(d.count, f.sparks().count), std::make_tuple(kind == 3 ? DEBRIS_CAPACITY - 4 : DEBRIS_CAPACITY, kind == 4 ? SPARK_CAPACITY : SPARK_CAPACITY - 2));
    }
}

TEST(ShotStep, ShotsFarOffOrNotFiniteAreHarmless) {
    test::GameFixture f;
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (int kind = 1; kind <= 5; ++kind) {
        f.add_shot(1e30f, -1e30f, 1e10f, 1e10f, 3, kind);
        f.add_shot(nan, 10.0f, nan, nan, 3, kind);
        f.add_shot(10.0f, 10.0f, inf, -inf, 3, kind);
    }
    f.add_foe(10.0f, 10.0f);
    for (int frame = 0; frame < 10; ++frame) shot_step(f.sys(), *f.game);
    // Only the fast plasma ball is left: it does not age until it slows below 1. A ball
    // with a speed that is not a number or infinite ages at once.
    ASSERT_EQ(f.game->shots.count, 1);
    EXPECT_EQ(std::make_tuple(f.game->shots.kind[0], f.game->shots.life[0]), std::make_tuple(3, 3));
}

namespace {

void add_spark(SparkPool& s, float x, float y, float dx, float dy, uint8_t colour) {
    const auto i = static_cast<size_t>(s.count++);
    s.x[i] = x, s.y[i] = y, s.dx[i] = dx, s.dy[i] = dy, s.colour[i] = colour;
}

}  // namespace

// (Culling on the next frame is pinned by the recorded games.)
TEST(SparkStep, MovesAndDrawsAndDropsSparksNotFiniteOrFarOffUndrawn) {
    auto s = std::make_unique<SparkPool>();
    FrameBuffer fb;
    add_spark(*s, 10.5f, 20.5f, 1.0f, -1.0f, 78);
    spark_step(*s, fb);
    EXPECT_EQ(std::make_tuple(s->count, get_pixel(fb, 11, 19)), std::make_tuple(1, uint8_t{78}));
    s->count = 0;
    fb.clear();
    add_spark(*s, std::numeric_limits<float>::quiet_NaN(), 5.0f, 0.0f, 0.0f, 3);
    add_spark(*s, 5.0f, 5.0f, 1e30f, -1e30f, 4);
    add_spark(*s, 5.0f, 5.0f, std::numeric_limits<float>::infinity(), 0.0f, 5);
    for (int frame = 0; frame < 3; ++frame) spark_step(*s, fb);  // one leaves each frame
    EXPECT_EQ(std::make_tuple(s->count, test::count_pixels(fb.pixels)), std::make_tuple(0, 0));
}
