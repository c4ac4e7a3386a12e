// The palette's worked entries at gamma 1 and 2, and the bitmap text's placement, wrapping
// and measuring.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "test_support.h"
#include "util/numeric.h"

using namespace qvar;

TEST(Palette, WorkedEntries) {
    const Palette one = compute_palette(1.0f), two = compute_palette(2.0f), first = initial_palette();
    struct Entry { const Palette* p; int index, r, g, b; };
    const Entry entries[] = {
        {&one, 15, 255, 255, 255}, {&one, 7, 127, 127, 127},   {&one, 17, 17, 17, 17},   {&one, 42, 255, 127, 0},
        {&one, 56, 127, 127, 255}, {&one, 104, 0, 0, 127},     {&one, 252, 255, 255, 255}, {&one, 129, 63, 0, 0},
        {&one, 133, 0, 63, 0},     {&one, 153, 0, 0, 63},      {&one, 40, 255, 0, 0},     {&one, 44, 255, 255, 0},
        {&one, 32, 0, 0, 255},     {&two, 7, 180, 180, 180},   {&two, 129, 127, 0, 0},    {&two, 15, 255, 255, 255},
        {&first, 0, 0, 128, 0},    {&first, 1, 1, 254, 1},     {&first, 2, 2, 128, 2},    {&first, 255, 255, 0, 255},
    };
    for (const Entry& e : entries) {
        const Rgb want{static_cast<uint8_t>(e.r), static_cast<uint8_t>(e.g), static_cast<uint8_t>(e.b)};
        EXPECT_EQ((*e.p)[static_cast<size_t>(e.index)], want) << e.index;
    }
    for (size_t i : {0u, 8u, 16u, 128u, 253u, 254u, 255u}) EXPECT_TRUE(one[i] == Rgb{} && two[i] == Rgb{}) << i;
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (float bad : {0.0f, -2.0f, nan, inf, 10.5f}) EXPECT_EQ(sanitize_gamma(bad), 1.0f) << bad;
    EXPECT_EQ(sanitize_gamma(10.0f), 10.0f);
    EXPECT_EQ(sanitize_gamma(0.1f), 0.1f);
}

TEST(Text, WidthsAndCaseFolding) {
    const std::pair<const char*, int32_t> widths[] = {
        {"i", 2},   {"m", 6},    {"@", 6},    {"Initialising...", 45}, {"ab\ncd", 16}, {"(%\")", 0},
        {"a b", 10}, {"QVAR", 18}, {"qvar", 18}, {"-,?[]+/'.!:", 3 + 3 + 3 + 3 + 3 + 4 + 4 + 2 + 2 + 2 + 2},
    };
    for (const auto& [text, width] : widths) EXPECT_EQ(text_width(text), width) << text;
    // The letters' ends and their neighbours; a byte above 127 is no letter (nor undefined).
    for (const auto& [in, out] : {std::pair{'A', 'a'}, {'Z', 'z'}, {'@', '@'}, {'[', '['}, {'\xC8', '\xC8'}})
        EXPECT_EQ(to_lower(in), out) << static_cast<int>(in);
}

// The test font's glyphs have their body colour at the top-left pixel and a shade column at
// their right from the second row.
TEST(Text, Placement) {
    test::TestRig rig;
    struct Px { int x, y; uint8_t v; };
    struct Case { const char* text; int32_t x, y, limit; uint8_t colour, shade; std::vector<Px> want; };
    const Case cases[] = {
        {"a b", 0, 0, NO_WRAP, 10, 2, {{0, 0, 10}, {3, 0, 0}, {5, 0, 0}, {6, 0, 10}, {8, 1, 2}}},  // space: gap + 2
        {"abc defg", 0, 0, 10, 10, 2, {{8, 0, 10}, {14, 0, 0}, {0, 6, 10}, {12, 6, 10}}},  // past 10: wraps
        {"abc defg", 0, 0, 14, 10, 2, {{14, 0, 10}, {0, 6, 0}}},                           // 14 is not past 14
        {"QVAR\ndistribution 2a", 30, 30, NO_WRAP, 12, 4, {{30, 30, 12}, {30, 36, 12}, {30, 35, 0}}},
        {"-a", 0, 0, NO_WRAP, 10, 2, {{0, 2, 2}, {1, 2, 2}, {3, 0, 10}}},             // the hyphen, by hand
        {"@(a", 0, 0, NO_WRAP, 10, 2, {{0, 0, 2}, {1, 0, 10}, {1, 1, 0}, {6, 0, 10}}},  // '(' is skipped
        {"m?", 318, 198, NO_WRAP, 10, 2, {{318, 198, 10}}},                            // clipped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FrameBuffer fb;
        draw_text(fb, rig.sys->font, c.x, c.y, c.limit, c.text, c.colour, c.shade);
        for (const Px& p : c.want) EXPECT_EQ(fb.at(p.x, p.y), p.v) << "at " << p.x << "," << p.y;
    }
    FrameBuffer fb, lower;
    for (const auto& [text, colour, shade] : {std::tuple{"abc", 5, 5}, {"abc", 255, 5}, {"abc", 5, 255}, {"", 10, 2}})
        draw_text(fb, rig.sys->font, 0, 0, NO_WRAP, text, static_cast<uint8_t>(colour), static_cast<uint8_t>(shade));
    EXPECT_EQ(std::count(fb.pixels.begin(), fb.pixels.end(), 0), 64000);  // colour == shade or 255: nothing
    draw_text(fb, rig.sys->font, 0, 0, NO_WRAP, "Hello World 42", 10, 2);
    draw_text(lower, rig.sys->font, 0, 0, NO_WRAP, "hello world 42", 10, 2);
    EXPECT_EQ(fb.pixels, lower.pixels);
    EXPECT_LT(std::count(fb.pixels.begin(), fb.pixels.end(), 0), 64000 - 20);
}
