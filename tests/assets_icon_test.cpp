// The icon drawn from a sprite: crisp whole-number enlargement, centred on the background, and
// an SVG with one rectangle per run of equal colour.
#include <gtest/gtest.h>

#include "icon_art.h"

using namespace qvar;

TEST(Icon, EnlargesByTheLargestWholeFactorAndCentres) {
    const uint8_t T = TRANSPARENT;
    const Sprite s = make_sprite(3, 2, std::vector<uint8_t>{1, 2, T, 3, 3, 4});
    const std::vector<uint8_t> icon = icon::render_icon(s, 8);  // factor 2: 6x4 in an 8x8 square
    ASSERT_EQ(icon.size(), 64u);
    const std::vector<uint8_t> expected = {
        0, 0, 0, 0, 0, 0, 0, 0,  //
        0, 0, 0, 0, 0, 0, 0, 0,  //
        0, 1, 1, 2, 2, 0, 0, 0,  //
        0, 1, 1, 2, 2, 0, 0, 0,  //
        0, 3, 3, 3, 3, 4, 4, 0,  //
        0, 3, 3, 3, 3, 4, 4, 0,  //
        0, 0, 0, 0, 0, 0, 0, 0,  //
        0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(icon, expected);
}

TEST(Icon, SvgHasOneRectanglePerRunInThePaletteColours) {
    const uint8_t T = TRANSPARENT;
    Palette palette{};
    palette[1] = {255, 0, 16};
    palette[3] = {1, 2, 3};
    const Sprite s = make_sprite(3, 2, std::vector<uint8_t>{1, 1, T, T, 3, 1});
    const std::string svg = icon::render_icon_svg(s, palette);
    EXPECT_NE(svg.find("viewBox=\"0 0 3 2\""), std::string::npos);
    EXPECT_NE(svg.find("<rect width=\"3\" height=\"2\" fill=\"#000000\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"2\" height=\"1\" fill=\"#ff0010\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"1\" y=\"1\" width=\"1\" height=\"1\" fill=\"#010203\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"2\" y=\"1\" width=\"1\" height=\"1\" fill=\"#ff0010\"/>"), std::string::npos);
    size_t rects = 0;
    for (size_t at = svg.find("<rect"); at != std::string::npos; at = svg.find("<rect", at + 1)) ++rects;
    EXPECT_EQ(rects, 4u);  // the background and three runs; transparent pixels add none
}
