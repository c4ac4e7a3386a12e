// Icon drawing: nearest-neighbour enlargement and the run-length SVG.
#include "icon_art.h"

#include <algorithm>
#include <cstdio>

namespace qvar::icon {

namespace {

uint8_t shown(const Sprite& s, int32_t col, int32_t row) {
    const uint8_t p = s.at(col, row);
    return p == TRANSPARENT ? BACKGROUND : p;
}

std::string hex_colour(const Rgb& c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

}  // namespace

std::vector<uint8_t> render_icon(const Sprite& sprite, uint32_t size) {
    const uint32_t side = std::max<uint32_t>(sprite.width, sprite.height);
    const uint32_t scale = side == 0 ? 1 : size / side;
    const uint32_t left = (size - scale * sprite.width) / 2, top = (size - scale * sprite.height) / 2;
    std::vector<uint8_t> pixels(static_cast<size_t>(size) * size, BACKGROUND);
    for (uint32_t y = 0; y < scale * sprite.height; ++y)
        for (uint32_t x = 0; x < scale * sprite.width; ++x)
            pixels[static_cast<size_t>(top + y) * size + left + x] =
                shown(sprite, static_cast<int32_t>(x / scale), static_cast<int32_t>(y / scale));
    return pixels;
}

std::string render_icon_svg(const Sprite& sprite, const Palette& palette) {
    const std::string w = std::to_string(sprite.width), h = std::to_string(sprite.height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 " +
                      w + " " + h + "\" shape-rendering=\"crispEdges\">\n";
    svg += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" + hex_colour(palette[BACKGROUND]) + "\"/>\n";
    for (int32_t row = 0; row < sprite.height; ++row) {
        for (int32_t col = 0; col < sprite.width;) {
            const uint8_t colour = shown(sprite, col, row);
            int32_t end = col + 1;
            while (end < sprite.width && shown(sprite, end, row) == colour) ++end;
            if (colour != BACKGROUND)
                svg += "<rect x=\"" + std::to_string(col) + "\" y=\"" + std::to_string(row) + "\" width=\"" +
                       std::to_string(end - col) + "\" height=\"1\" fill=\"" + hex_colour(palette[colour]) + "\"/>\n";
            col = end;
        }
    }
    return svg + "</svg>\n";
}

}  // namespace qvar::icon
