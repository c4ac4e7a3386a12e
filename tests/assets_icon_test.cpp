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
    // The background, then one rectangle per run; transparent pixels add none.
    EXPECT_EQ(icon::render_icon_svg(s, palette),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
              "height=\"256\" viewBox=\"0 0 3 2\" shape-rendering=\"crispEdges\">\n"
              "<rect width=\"3\" height=\"2\" fill=\"#000000\"/>\n"
              "<rect x=\"0\" y=\"0\" width=\"2\" height=\"1\" fill=\"#ff0010\"/>\n"
              "<rect x=\"1\" y=\"1\" width=\"1\" height=\"1\" fill=\"#010203\"/>\n"
              "<rect x=\"2\" y=\"1\" width=\"1\" height=\"1\" fill=\"#ff0010\"/>\n</svg>\n");
}
