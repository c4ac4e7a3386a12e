// The palette's worked entries at gamma 1 and 2, and the bitmap text's placement, wrapping
// and measuring.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "test_support.h"
#include "util/numeric.h"

using namespace qvar;

namespace {

Rgb rgb(int r, int g, int b) { return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)}; }

int count_set(const FrameBuffer& fb) {
    int n = 0;
    for (uint8_t p : fb.pixels) n += p != 0 ? 1 : 0;
    return n;
}

}  // namespace

TEST(Palette, WorkedEntriesAtGammaOne) {
    const Palette p = compute_palette(1.0f);
    EXPECT_EQ(p[15], rgb(255, 255, 255));
    EXPECT_EQ(p[7], rgb(127, 127, 127));
    EXPECT_EQ(p[8], rgb(0, 0, 0));
    EXPECT_EQ(p[17], rgb(17, 17, 17));
    EXPECT_EQ(p[42], rgb(255, 127, 0));
    EXPECT_EQ(p[56], rgb(127, 127, 255));
    EXPECT_EQ(p[104], rgb(0, 0, 127));
    EXPECT_EQ(p[252], rgb(255, 255, 255));
    EXPECT_EQ(p[128], rgb(0, 0, 0));
    EXPECT_EQ(p[129], rgb(63, 0, 0));
    EXPECT_EQ(p[133], rgb(0, 63, 0));
    EXPECT_EQ(p[153], rgb(0, 0, 63));
    EXPECT_EQ(p[40], rgb(255, 0, 0));
    EXPECT_EQ(p[44], rgb(255, 255, 0));
    EXPECT_EQ(p[32], rgb(0, 0, 255));
}

TEST(Palette, GammaTwoLiftsTheMiddleAndKeepsTheEnds) {
    const Palette p = compute_palette(2.0f);
    EXPECT_EQ(p[7], rgb(180, 180, 180));
    EXPECT_EQ(p[129], rgb(127, 0, 0));
    EXPECT_EQ(p[15], rgb(255, 255, 255));
    for (int i : {0, 8, 16, 128, 253, 254, 255}) {
        EXPECT_EQ(p[static_cast<size_t>(i)], rgb(0, 0, 0)) << i;
        EXPECT_EQ(compute_palette(1.0f)[static_cast<size_t>(i)], rgb(0, 0, 0)) << i;
    }
}

TEST(Palette, FirstDisplayPaletteIsGreenAtZero) {
    const Palette p = initial_palette();
    EXPECT_EQ(p[0], rgb(0, 128, 0));
    EXPECT_EQ(p[1], rgb(1, 254, 1));
    EXPECT_EQ(p[2], rgb(2, 128, 2));
    EXPECT_EQ(p[255], rgb(255, 0, 255));  // odd: 255 - i
}

TEST(Palette, OutOfRangeGammaFallsBackToOne) {
    EXPECT_EQ(sanitize_gamma(0.0f), 1.0f);
    EXPECT_EQ(sanitize_gamma(-2.0f), 1.0f);
    EXPECT_EQ(sanitize_gamma(std::numeric_limits<float>::quiet_NaN()), 1.0f);
    EXPECT_EQ(sanitize_gamma(std::numeric_limits<float>::infinity()), 1.0f);
    EXPECT_EQ(sanitize_gamma(10.5f), 1.0f);
    EXPECT_EQ(sanitize_gamma(10.0f), 10.0f);
    EXPECT_EQ(sanitize_gamma(0.1f), 0.1f);
}

TEST(Palette, BuildPaletteSetsEveryDisplayEntry) {
    test::TestRig rig;
    build_palette(*rig.sys, 2.0f);
    EXPECT_EQ(rig.platform.palette(), compute_palette(2.0f));
    EXPECT_EQ(rig.sys->palette, compute_palette(2.0f));
}

TEST(TextWidth, WorkedExamples) {
    EXPECT_EQ(text_width("i"), 2);
    EXPECT_EQ(text_width("m"), 6);
    EXPECT_EQ(text_width("@"), 6);
    EXPECT_EQ(text_width("Initialising..."), 45);
    EXPECT_EQ(text_width("ab\ncd"), 16);
    EXPECT_EQ(text_width("(%\")"), 0);
    EXPECT_EQ(text_width("a b"), 10);
    EXPECT_EQ(text_width("-,?[]+/'.!:"), 3 + 3 + 3 + 3 + 3 + 4 + 4 + 2 + 2 + 2 + 2);
    EXPECT_EQ(text_width("QVAR"), text_width("qvar"));
}

TEST(ToLower, FoldsOnlyCapitals) {
    EXPECT_EQ(to_lower('Q'), 'q');
    EXPECT_EQ(to_lower('A'), 'a');
    EXPECT_EQ(to_lower('Z'), 'z');
    for (char c : {'q', '5', '!', '@', '[', '`', static_cast<char>(200), static_cast<char>(-56)})
        EXPECT_EQ(to_lower(c), c);
}

class DrawText : public ::testing::Test {
protected:
    test::TestRig rig;
    FrameBuffer fb;
    void draw(std::string_view text, int32_t limit = NO_WRAP, uint8_t colour = 10, uint8_t shade = 2) {
        draw_text(fb, rig.sys->font, 0, 0, limit, text, colour, shade);
    }
};

// The test font's glyphs have their body colour at the top-left pixel.
TEST_F(DrawText, SpaceAdvancesTwoAfterTheGlyphsGap) {
    draw("a b");
    EXPECT_EQ(fb.at(0, 0), 10);
    EXPECT_EQ(fb.at(3, 0), 0);
    EXPECT_EQ(fb.at(4, 0), 0);
    EXPECT_EQ(fb.at(5, 0), 0);
    EXPECT_EQ(fb.at(6, 0), 10);
    EXPECT_EQ(fb.at(8, 1), 2);  // the b's shade column
}

TEST_F(DrawText, WrapsOnlyAfterASpacePastTheLimit) {
    draw("abc defg", 10);  // after the space x is 14 > 10
    EXPECT_EQ(fb.at(8, 0), 10);   // c
    EXPECT_EQ(fb.at(14, 0), 0);   // no d on the first line
    EXPECT_EQ(fb.at(0, 6), 10);   // d starts the second line
    EXPECT_EQ(fb.at(12, 6), 10);  // g: d 4, e 3, f 3

    FrameBuffer whole;
    draw_text(whole, rig.sys->font, 0, 0, 14, "abc defg", 10, 2);  // 14 is not beyond 14
    EXPECT_EQ(whole.at(14, 0), 10);
    EXPECT_EQ(whole.at(0, 6), 0);
}

TEST_F(DrawText, LineFeedReturnsToTheStartColumn) {
    draw_text(fb, rig.sys->font, 30, 30, NO_WRAP, "QVAR\ndistribution 2a", 12, 4);
    EXPECT_EQ(fb.at(30, 30), 12);
    EXPECT_EQ(fb.at(30, 36), 12);
    EXPECT_EQ(fb.at(30, 35), 0);
}

TEST_F(DrawText, EqualOrTransparentColoursAndEmptyTextDrawNothing) {
    draw("abc", NO_WRAP, 5, 5);
    draw("abc", NO_WRAP, 255, 5);
    draw("abc", NO_WRAP, 5, 255);
    draw("");
    EXPECT_EQ(count_set(fb), 0);
}

TEST_F(DrawText, CapitalsDrawTheSameAsSmallLetters) {
    draw("Hello World 42");
    FrameBuffer lower;
    draw_text(lower, rig.sys->font, 0, 0, NO_WRAP, "hello world 42", 10, 2);
    EXPECT_EQ(fb.pixels, lower.pixels);
    EXPECT_GT(count_set(fb), 20);
}

TEST_F(DrawText, PunctuationIsPlacedByHandAndUnknownBytesAreSkipped) {
    draw("-a");  // hyphen: two shade pixels on row 2, advance 3
    EXPECT_EQ(fb.at(0, 2), 2);
    EXPECT_EQ(fb.at(1, 2), 2);
    EXPECT_EQ(fb.at(3, 0), 10);

    FrameBuffer at;
    draw_text(at, rig.sys->font, 0, 0, NO_WRAP, "@(a", 10, 2);
    EXPECT_EQ(at.at(0, 0), 2);  // the at sign's corner is shade
    EXPECT_EQ(at.at(1, 0), 10);
    EXPECT_EQ(at.at(1, 1), 0);  // transparent inside
    EXPECT_EQ(at.at(6, 0), 10);  // '(' neither draws nor advances

    FrameBuffer clipped;
    draw_text(clipped, rig.sys->font, 318, 198, NO_WRAP, "m?", 10, 2);  // clipped, never out of bounds
    EXPECT_EQ(clipped.at(318, 198), 10);
}
