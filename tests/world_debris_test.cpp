// Debris: jitter, removal at the edges and by chance, and what is drawn after a removal.
#include <gtest/gtest.h>

#include "world_support.h"

using namespace qvar;
using qvar::test::WorldRig;

TEST(Debris, EdgesRemoveBeyondTheFieldAndTheLastDotMovedInIsDrawnUnmoved) {
    // Dots jittered by (sx - 2, sy - 2), then a chance draw that spares them; how many stay, how
    // many random draws the step takes, and the pixel (px, py) afterwards.
    struct Dot { int32_t x, y; uint8_t colour; };
    struct Case { std::vector<Dot> dots; int32_t sx, sy, stay, draws, px, py; uint8_t colour; };
    const Case cases[] = {
        {{{0, 50, 9}}, 1, 2, 0, 2, 0, 50, 9},  // leaves on the left, yet is drawn once more where it went
        {{{320, 100, 9}}, 2, 2, 1, 3, 319, 100, 9},  // kept at 320; only the plus sign's left arm shows
        // The first is removed; the second moves into its slot and is drawn where it stands,
        // skipping this frame's jitter and chance.
        {{{-5, 10, 3}, {200, 120, 14}}, 2, 2, 1, 2, 201, 120, 14},
    };
    for (const Case& c : cases) {
        WorldRig rig;
        DebrisPool& d = rig.game->debris;
        for (const Dot& dot : c.dots) d.x[d.count] = dot.x, d.y[d.count] = dot.y, d.colour[d.count++] = dot.colour;
        Random& rng = rig.sys->rng;
        for (Random p = rng; random_int(p, 5) != c.sx || random_int(p, 5) != c.sy || random_int(p, 10) == 0; p = rng)
            random_int(rng, 2);
        Random expected = rng;
        for (int n = 0; n < c.draws; ++n) random_int(expected, 5);
        debris_step(*rig.sys, *rig.game);
        EXPECT_EQ(d.count, c.stay) << c.dots[0].x;
        EXPECT_TRUE(rng.s1 == expected.s1 && rng.s2 == expected.s2) << c.dots[0].x;
        EXPECT_EQ(rig.sys->frame.at(c.px, c.py), c.colour) << c.dots[0].x;
    }
    WorldRig far;
    DebrisPool& d = far.game->debris;
    d.count = 3, d.x[0] = -30, d.y[1] = 250, d.x[2] = 2147483647, d.y[2] = -2147483647 - 1;  // no overflow
    for (int i = 0; i < 3; ++i) debris_step(*far.sys, *far.game);
    EXPECT_EQ(d.count, 0);
}
