// The foe pass: motion and wrap-round, burning and its debris, the lone kinds' behaviour and
// drawing, foes born during the pass, and the sound answers where the rules divide by zero.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/draw.h"
#include "world/world.h"
#include "world/world_internal.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

// How many random_int draws take `from` to `to` (-1 when more than `limit`).
int32_t int_draws_between(Random from, const Random& to, int32_t limit = 10000) {
    for (int32_t n = 0; n <= limit; ++n) {
        if (from.s1 == to.s1 && from.s2 == to.s2) return n;
        random_int(from, 2);
    }
    return -1;
}

}  // namespace

TEST(FoeMotion, WrapRoundIsStrictOnTheFarEdges) {
    WorldRig rig;
    rig.add_foe(ROCK, 1, 319.5f, 199.5f, 0.5f, 0.5f);
    rig.add_foe(ROCK, 1, 0.0f, 0.05f, -0.1f, -0.1f);
    rig.pass();
    EXPECT_FLOAT_EQ(rig.foes().x[0], 320.0f);
    EXPECT_FLOAT_EQ(rig.foes().y[0], 200.0f);
    EXPECT_FLOAT_EQ(rig.foes().x[1], 319.9f);
    EXPECT_FLOAT_EQ(rig.foes().y[1], 199.95f);
    rig.pass();
    EXPECT_FLOAT_EQ(rig.foes().x[0], 0.5f);
    EXPECT_FLOAT_EQ(rig.foes().y[0], 0.5f);
}

TEST(FoeMotion, AVelocityBeyondTheFieldStillLandsOnIt) {
    WorldRig rig;
    rig.add_foe(WHEEL, 4, 100.0f, 100.0f, 1000.5f, -777.25f);
    for (int i = 0; i < 5; ++i) {
        rig.pass();
        EXPECT_GE(rig.foes().x[0], 0.0f);
        EXPECT_LE(rig.foes().x[0], 320.0f);
        EXPECT_GE(rig.foes().y[0], 0.0f);
        EXPECT_LE(rig.foes().y[0], 200.0f);
    }
}

TEST(Burning, DebrisPerEffectByKindAndSize) {
    struct Case { int32_t kind; int32_t gen; int flame; int plasma; int white; int32_t dots; };
    const Case cases[] = {
        {ROCK, 15, 1, 0, 0, 32},   {BLOCK, 0, 1, 0, 0, 1}, {BLOCK, 1, 0, 1, 0, 3}, {BLOCK, 2, 1, 0, 0, 5},
        {DART, 0, 1, 0, 0, 5},     {DART, 0, 0, 0, 1, 4},  {WEB, 3, 1, 1, 1, 14},  {LODESTONE, 19, 0, 0, 1, 40},
        {SPINNER, 0, 0, 1, 0, 5},
    };
    for (const Case& c : cases) {
        WorldRig rig;
        rig.add_foe(c.kind, c.gen, 100.0f, 100.0f);
        rig.foes().flamed.set(0, c.flame);
        rig.foes().plasma.set(0, c.plasma);
        rig.foes().whitehot.set(0, c.white);
        rig.player().invincible = 9;
        rig.pass();
        EXPECT_EQ(rig.game->debris.count, c.dots) << "kind " << c.kind << " gen " << c.gen;
    }
    WorldRig nearly_full;
    nearly_full.add_foe(ROCK, 15, 100.0f, 100.0f);
    nearly_full.foes().flamed.set(0, 1);
    nearly_full.game->debris.count = 9998;
    nearly_full.pass();
    EXPECT_EQ(nearly_full.game->debris.count, DEBRIS_CAPACITY);
}

TEST(Burning, RockDebrisLieOnItsRimWrappedOntoTheField) {
    WorldRig rig;
    rig.add_foe(ROCK, 15, 2.0f, 198.0f);  // size 38: rim radius 18.5, across two edges
    rig.foes().plasma.set(0, 1);
    rig.pass();
    const DebrisPool& d = rig.game->debris;
    ASSERT_EQ(d.count, 32);
    for (int32_t k = 0; k < d.count; ++k) {
        const auto s = static_cast<size_t>(k);
        EXPECT_GE(d.x[s], 0);
        EXPECT_LT(d.x[s], 320);
        EXPECT_GE(d.y[s], 0);
        EXPECT_LT(d.y[s], 200);
        float ax = std::fabs(static_cast<float>(d.x[s]) - 2.0f), ay = std::fabs(static_cast<float>(d.y[s]) - 198.0f);
        if (ax > 160.0f) ax = 320.0f - ax;
        if (ay > 100.0f) ay = 200.0f - ay;
        EXPECT_LE(std::hypot(ax, ay), 20.0f);
        EXPECT_GE(d.colour[s] == 11 || (d.colour[s] >= 228 && d.colour[s] <= 237), true);
    }
}

TEST(Pellets, LiveAHundredFramesAndAreBornAndVisitedInTheSamePass) {
    WorldRig rig;
    rig.add_foe(SAUCER, 0, 100.0f, 100.0f, 0.25f, 0.0f);
    // The saucer's draws: course change (1 in 100), then firing (1 in 75).
    for (int guard = 0; guard < 100000; ++guard) {
        Random probe = rig.sys->rng;
        const int32_t turn = random_int(probe, 100);
        if (turn != 0 && random_int(probe, 75) == 0) break;
        random_int(rig.sys->rng, 2);
    }
    rig.player().ship_x = 100.25f;  // exactly on the saucer after its move: nothing to aim at
    rig.player().ship_y = 100.0f;
    rig.player().invincible = 1000;
    rig.pass();
    ASSERT_EQ(rig.foes().count, 2);
    EXPECT_EQ(rig.foes().kind[1], PELLET);
    EXPECT_EQ(rig.foes().gen[1], 99);  // already stepped once in its own frame
    EXPECT_TRUE(qvar::test::all_finite(*rig.game, rig.sparks()));
    EXPECT_LE(std::fabs(rig.foes().dx[1] - 0.25f), 0.5f);
    rig.foes().kind[0] = ROCK;  // no more pellets
    for (int frame = 2; frame <= 99; ++frame) {
        rig.pass();
        EXPECT_FALSE(rig.foes().dead.get(1)) << frame;
    }
    rig.pass();
    EXPECT_TRUE(rig.foes().dead.get(1));
}

TEST(Pellets, SaucerAimsAtTheShip) {
    WorldRig rig;
    rig.add_foe(SAUCER, 0, 100.0f, 100.0f);
    for (int guard = 0; guard < 100000; ++guard) {
        Random probe = rig.sys->rng;
        const int32_t turn = random_int(probe, 100);
        if (turn != 0 && random_int(probe, 75) == 0) break;
        random_int(rig.sys->rng, 2);
    }
    rig.player().ship_x = 100.0f;
    rig.player().ship_y = 150.0f;
    rig.pass();
    ASSERT_EQ(rig.foes().count, 2);
    EXPECT_GE(rig.foes().dy[1], 0.5f);  // 1 toward the ship, give or take 0.5
    EXPECT_LE(std::fabs(rig.foes().dx[1]), 0.5f);
}

TEST(Triangles, SmallestHomeInAndNeverDivideByZeroOnTheShip) {
    WorldRig rig;
    rig.add_foe(TRIANGLE, 1, 100.0f, 100.0f);
    rig.add_foe(TRIANGLE, 2, 100.0f, 50.0f);
    rig.add_foe(TRIANGLE, 1, 160.0f, 100.0f);  // on the ship's exact spot
    rig.player().invincible = 10;
    rig.pass();
    EXPECT_FLOAT_EQ(rig.foes().dx[0], 0.01f);
    EXPECT_FLOAT_EQ(rig.foes().dx[1], 0.0f);
    EXPECT_FLOAT_EQ(rig.foes().dx[2], 0.0f);
    EXPECT_TRUE(qvar::test::all_finite(*rig.game, rig.sparks()));
}

TEST(Drawing, WheelSpokesRimAndColours) {
    WorldRig rig;
    rig.add_foe(WHEEL, 4, 100.0f, 100.0f);
    rig.add_foe(TRIANGLE, 3, 200.0f, 100.0f);
    rig.pass();
    const FrameBuffer& fb = rig.sys->frame;
    // Spokes at t = 0, pi/2, pi, 3 pi/2: down, right, up, left.
    EXPECT_EQ(get_pixel(fb, 100, 108), 12);
    EXPECT_EQ(get_pixel(fb, 108, 100), 12);
    EXPECT_EQ(get_pixel(fb, 100, 92), 12);
    EXPECT_EQ(get_pixel(fb, 92, 100), 12);
    EXPECT_EQ(get_pixel(fb, 103, 103), 12);  // on the rim
    int triangle = 0;  // a triangle of gen 3 is drawn in colour 56 - 3
    for (int y = 92; y <= 108; ++y)
        for (int x = 192; x <= 208; ++x) triangle += get_pixel(fb, x, y) == 53;
    EXPECT_GT(triangle, 20);
}

TEST(Drawing, WebDrawsEveryChordOnce) {
    for (int32_t gen : {3, 5, 7}) {
        WorldRig rig;
        rig.add_foe(WEB, gen, 100.0f, 100.0f);
        const Random before = rig.sys->rng;
        rig.pass();
        // One colour draw per chord and no other draws in a web's step.
        EXPECT_EQ(int_draws_between(before, rig.sys->rng), gen * (gen - 1) / 2) << gen;
    }
}

TEST(Drawing, OrbiterIsDrawnRoundItsVisibleCentre) {
    WorldRig rig;
    rig.add_foe(ORBITER, 9, 318.0f, 100.0f);
    rig.pass();
    int lit_near = 0, lit_anchor = 0;
    for (int y = 94; y <= 106; ++y)
        for (int x = 1; x <= 13; ++x) lit_near += get_pixel(rig.sys->frame, x, y) != 0;
    for (int y = 96; y <= 104; ++y)
        for (int x = 314; x <= 319; ++x) lit_anchor += get_pixel(rig.sys->frame, x, y) != 0;
    EXPECT_GT(lit_near, 3);
    EXPECT_EQ(lit_anchor, 0);
}

TEST(Drawing, QuickSpritePathDrawsWhatTheWrappedBlitDraws) {
    WorldRig rig;
    const Sprite& s = rig.game->sprites.rocks[12];
    Sprite speckled = s;
    for (size_t k = 0; k < speckled.pixels.size(); k += 3) speckled.pixels[k] = TRANSPARENT;
    FrameBuffer a, b;
    Random rng;
    for (int n = 0; n < 500; ++n) {
        const int32_t x = random_int(rng, 800) - 400, y = random_int(rng, 600) - 300;
        const uint8_t c = static_cast<uint8_t>(random_int(rng, 200));
        put_pixel(a, static_cast<uint32_t>(n % 320), static_cast<uint32_t>(n % 200), c);
        put_pixel(b, static_cast<uint32_t>(n % 320), static_cast<uint32_t>(n % 200), c);
        world::draw_sprite_wrapped(a, x, y, speckled);
        blit_sprite_wrapped(b, x, y, speckled);
    }
    EXPECT_TRUE(a.pixels == b.pixels);
}
