// draw_line against the plain rule on many lines, and its float jumps against single steps.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "gfx/draw.h"
#include "gfx/float_steps.h"
#include "util/numeric.h"

using namespace qvar;

namespace {

// The line as the rules state it, every step plotted through put_pixel's clipping; a major
// coordinate that no longer grows by 1 ends it (it could only step on off screen forever).
void plain_line(FrameBuffer& fb, float x1, float y1, float x2, float y2, uint8_t colour) {
    auto plot = [&](float x, float y) { put_pixel(fb, trunc_coord(x), trunc_coord(y), colour); };
    float dx = x2 - x1, dy = y2 - y1;
    if (dx * dx + dy * dy < 0.1f) return plot(x1, y1);
    if (dx + dy < 0.0f) std::swap(x1, x2), std::swap(y1, y2), dx = -dx, dy = -dy;
    const bool along_x = dy < dx;
    float a = along_x ? x1 : y1, b = along_x ? y1 : x1;
    const float a_end = along_x ? x2 : y2, slope = along_x ? dy / dx : dx / dy;
    const float a_limit = along_x ? 320.0f : 200.0f;
    while (a_end > a && a < a_limit) {  // past the screen's far edge nothing more is visible
        along_x ? plot(a, b) : plot(b, a);
        b += slope;
        if (a + 1.0f == a) return;
        a += 1.0f;
    }
}

struct Line { float x1, y1, x2, y2; };

std::vector<Line> test_lines() {
    std::vector<Line> v = {
        {-50, 10, -5, 80}, {330, 10, 400, 90}, {10, -60, 90, -2}, {10, 205, 90, 260},  // off each side
        {-30, -20, 40, 25}, {290, -15, 350, 30}, {-40, 230, 30, 170}, {300, 190, 360, 230},  // corners
        {-20, -1, 20, -1}, {-20, -0.999f, 340, -0.999f}, {-1, -20, -1, 220}, {319.999f, -5, 319.999f, 210},
        {-1e6f, 50.3f, 1e6f, 120.7f}, {-3e7f, 1, 3e7f, 2}, {100.2f, -1e5f, 101.7f, 1e5f},  // very long
        {0.5f, 0, 0.5000001f, 199.9f}, {10, -500, 10.001f, 700}, {-300, 100.5f, 700, 100.5f},  // nearly straight
        {0, 0, 10, 10}, {0, 0, 10, 0}, {10, 0, 0, 0}, {5.5f, 7.5f, 15.5f, 27.5f},  // end points never drawn
        {-0.5f, 5, 3, 5}, {10, 10, 10.2f, 10.2f}, {1e-30f, 3, 300, 3.0000002f}, {8388607.5f, 3, 8388700, 4},
        {-2e5f, -2e5f, 2e5f, 2e5f}, {-1e4f, 3e4f, 1e4f, -2e4f}, {160, 100, 160, 100}, {10, 10, 9.7f, 9.8f},  // 0.13: a line
        {10, 10, 9.8f, 9.8f}, {0, 0, 2, 10}, {-1.5f, 5, 3, 5}, {310, 100, 330, 100},  // 0.08: a pixel; steep; clipped
    };
    std::mt19937 g(5);  // and many more with ends spread far round the screen, some short
    std::uniform_real_distribution<float> wide(-700.0f, 1000.0f), near(-3.0f, 3.0f);
    for (int i = 0; i < 20000; ++i) {
        Line l{wide(g), wide(g) * 0.7f, wide(g), wide(g) * 0.7f};
        if (i % 5 == 1) l.x2 = l.x1 + near(g) * 20.0f, l.y2 = l.y1 + near(g) * 20.0f;
        if (i % 7 == 2) l.x1 = std::round(l.x1), l.y2 = std::round(l.y2 * 2.0f) / 2.0f;  // whole, half
        if (i % 11 == 3) l.y2 = l.y1 + near(g);  // nearly level
        v.push_back(l);
    }
    return v;
}

}  // namespace

TEST(DrawLineClipped, SamePixelsAsEveryStepPlotted) {
    FrameBuffer fast, plain;
    int n = 0, drawn = 0;
    for (const Line& l : test_lines()) {
        const auto colour = static_cast<uint8_t>(1 + n++ % 254);
        draw_line(fast, l.x1, l.y1, l.x2, l.y2, colour);
        plain_line(plain, l.x1, l.y1, l.x2, l.y2, colour);
        drawn += std::count(plain.pixels.begin(), plain.pixels.end(), colour) > 0;
        ASSERT_TRUE(fast.pixels == plain.pixels) << "line " << n - 1 << ": " << l.x1 << "," << l.y1 << " to " << l.x2
                                                 << "," << l.y2;
    }
    EXPECT_GT(drawn, 5000);  // many of them really reach the screen
}

// Steps by d from x, one at a time and jumped, over magnitudes from subnormal to 2^40 and
// increments that round, tie and get stuck.
TEST(FloatSteps, JumpsLandOnTheBitsOfSingleSteps) {
    std::mt19937 g(11);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
    auto real = [&](int exp) {
        const float m = 1.0f + static_cast<float>(pick(0, (1 << 23) - 1)) / 8388608.0f;
        return (pick(0, 1) ? -1.0f : 1.0f) * std::ldexp(m, exp);
    };
    for (int c = 0; c < 4000; ++c) {
        const int e = pick(-140, 40);
        const float x0 = c % 13 == 0 ? 0.0f : real(e);
        float d = real(e + pick(-28, 2));
        if (c % 3 == 0) d = std::ldexp(static_cast<float>(pick(1, 64)) + 0.5f, e - 23) * (d < 0 ? -1.0f : 1.0f);  // ties
        const auto n = static_cast<uint64_t>(c % 50 == 0 ? pick(0, 300000) : pick(0, 3000));
        float x = x0, t = x0;
        uint64_t first_past = NEVER;
        const float goal = x0 + d * static_cast<float>(n / 2);
        for (uint64_t k = 0; k < n; ++k) {
            if (first_past == NEVER && (d > 0 ? x > goal : x < goal)) first_past = k, t = x;
            x += d;
        }
        SCOPED_TRACE(testing::Message() << "x " << x0 << " d " << d << " n " << n);
        ASSERT_EQ(std::bit_cast<uint32_t>(advance_steps(x0, d, n)), std::bit_cast<uint32_t>(x));
        float ones = x0;
        for (uint64_t k = 0; k < n; ++k) ones += 1.0f;
        ASSERT_EQ(std::bit_cast<uint32_t>(advance_by_ones(x0, n)), std::bit_cast<uint32_t>(ones));
        float y = x0;
        const uint64_t k = steps_past(y, d, goal);
        if (first_past != NEVER) {
            ASSERT_EQ(k, first_past);
            ASSERT_EQ(std::bit_cast<uint32_t>(y), std::bit_cast<uint32_t>(t));
        } else if (x0 + d == x0) {
            ASSERT_EQ(k, NEVER);
        }
    }
}
