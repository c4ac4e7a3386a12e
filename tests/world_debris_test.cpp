// Debris: jitter, removal at the edges and by chance, and what is drawn after a removal.
#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "world/world.h"
#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

namespace {

void add_dot(WorldRig& rig, int32_t x, int32_t y, uint8_t colour) {
    DebrisPool& d = rig.game->debris;
    const auto k = static_cast<size_t>(d.count++);
    d.x[k] = x;
    d.y[k] = y;
    d.colour[k] = colour;
}

// Moves rng on until its next draws are: x step `sx` (0 .. 4 means -2 .. +2), y step `sy`, and
// then, if `chance` is not -1, whether the 1-in-10 draw is 0.
void arrange(Random& rng, int32_t sx, int32_t sy, int32_t chance_zero) {
    for (int guard = 0; guard < 1000000; ++guard) {
        Random p = rng;
        const bool ok = random_int(p, 5) == sx && random_int(p, 5) == sy &&
                        (chance_zero < 0 || (random_int(p, 10) == 0) == (chance_zero == 1));
        if (ok) return;
        random_int(rng, 2);
    }
}

}  // namespace

TEST(Debris, LeavingOnTheLeftRemovesWithoutAThirdDraw) {
    WorldRig rig;
    add_dot(rig, 0, 50, 9);
    arrange(rig.sys->rng, 1, 2, -1);
    Random expected = rig.sys->rng;
    random_int(expected, 5);
    random_int(expected, 5);
    debris_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.game->debris.count, 0);
    EXPECT_EQ(rig.sys->rng.s2, expected.s2);
    // Removed, yet drawn once more where it went: only the arm at x = 0 is on the screen.
    EXPECT_EQ(get_pixel(rig.sys->frame, 0, 50), 9);
}

TEST(Debris, FarEdgesAreInclusive) {
    WorldRig rig;
    add_dot(rig, 320, 200, 7);
    arrange(rig.sys->rng, 2, 2, 0);
    debris_step(*rig.sys, *rig.game);
    ASSERT_EQ(rig.game->debris.count, 1);
    EXPECT_EQ(get_pixel(rig.sys->frame, 319, 199), 0);
    WorldRig edge;
    add_dot(edge, 320, 100, 7);
    arrange(edge.sys->rng, 2, 2, 0);
    debris_step(*edge.sys, *edge.game);
    ASSERT_EQ(edge.game->debris.count, 1);
    EXPECT_EQ(get_pixel(edge.sys->frame, 319, 100), 7);  // only the left arm is visible
}

TEST(Debris, RingDotsOffTheFieldGoAtOnce) {
    WorldRig rig;
    add_dot(rig, -30, 100, 7);
    add_dot(rig, 100, 250, 7);
    add_dot(rig, 2147483647, -2147483647 - 1, 7);  // no overflow however far out
    for (int i = 0; i < 3; ++i) debris_step(*rig.sys, *rig.game);
    EXPECT_EQ(rig.game->debris.count, 0);
}

TEST(Debris, RemovedDotsMakeWayForTheLastWhichIsDrawnUnmoved) {
    WorldRig rig;
    debris_step(*rig.sys, *rig.game);  // empty: nothing happens
    EXPECT_EQ(rig.game->debris.count, 0);
    add_dot(rig, -5, 10, 3);    // removed in its step ...
    add_dot(rig, 200, 120, 14); // ... and this one moves into slot 0 and is drawn where it stands
    arrange(rig.sys->rng, 2, 2, -1);
    const Random before = rig.sys->rng;
    debris_step(*rig.sys, *rig.game);
    ASSERT_EQ(rig.game->debris.count, 1);
    EXPECT_EQ(rig.game->debris.x[0], 200);
    EXPECT_EQ(rig.game->debris.y[0], 120);
    EXPECT_EQ(get_pixel(rig.sys->frame, 200, 120), 14);
    EXPECT_EQ(get_pixel(rig.sys->frame, 201, 120), 14);
    Random two = before;
    random_int(two, 5);
    random_int(two, 5);
    EXPECT_EQ(rig.sys->rng.s2, two.s2);  // it skipped this frame's jitter and chance
}
