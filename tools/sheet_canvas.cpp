// Canvas drawing for the contact sheet; text goes through the game's draw_text.
#include "sheet_canvas.h"

#include <cmath>

#include "gfx/frame_buffer.h"
#include "util/numeric.h"

namespace qvar::sheet {

Canvas::Canvas(int32_t w, int32_t h, uint8_t fill_colour)
    : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill_colour) {}

void Canvas::put(int32_t x, int32_t y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = colour;
}

void Canvas::fill(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour) {
    for (int32_t r = 0; r < h; ++r)
        for (int32_t c = 0; c < w; ++c) put(x + c, y + r, colour);
}

void Canvas::checker(int32_t x, int32_t y, int32_t w, int32_t h, int32_t cell) {
    for (int32_t r = 0; r < h; ++r)
        for (int32_t c = 0; c < w; ++c) put(x + c, y + r, ((r / cell + c / cell) % 2) ? CHECKER_LIGHT : CHECKER_DARK);
}

void Canvas::blit(int32_t x, int32_t y, const Sprite& s, int32_t scale) {
    for (int32_t r = 0; r < s.height; ++r)
        for (int32_t c = 0; c < s.width; ++c) {
            uint8_t p = s.at(c, r);
            if (p != TRANSPARENT) fill(x + c * scale, y + r * scale, scale, scale, p);
        }
}

void Canvas::text(int32_t x, int32_t y, const Font& font, std::string_view s, uint8_t colour, uint8_t shade,
                  int32_t scale) {
    // 254 is a black the game never draws text in, so it marks the untouched pixels.
    constexpr uint8_t UNTOUCHED = 254;
    static FrameBuffer scratch;
    scratch.pixels.fill(UNTOUCHED);
    draw_text(scratch, font, 0, 0, NO_WRAP, s, colour, shade);
    int32_t w = text_width(s);
    if (w > SCREEN_WIDTH) w = SCREEN_WIDTH;
    for (int32_t r = 0; r < GLYPH_HEIGHT; ++r)
        for (int32_t c = 0; c < w; ++c) {
            uint8_t p = scratch.at(c, r);
            if (p != UNTOUCHED) fill(x + c * scale, y + r * scale, scale, scale, p);
        }
}

Sprite rotate_ship(const Sprite& base, int k) {
    Sprite out = make_sprite(16, 16, TRANSPARENT);
    if (base.width != 16 || base.height != 16) return out;
    const float a = 0.1f * static_cast<float>(k);
    const float ca = std::cos(a), sa = std::sin(a);
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            const float di = static_cast<float>(i) - 7.5f, dj = static_cast<float>(j) - 7.5f;
            const int32_t u = trunc_i32(di * ca + dj * sa + 7.5f + 0.5f);
            const int32_t v = trunc_i32(dj * ca - di * sa + 7.5f + 0.5f);
            if (u < 0 || v < 0 || u >= 16 || v >= 16) continue;
            out.pixels[static_cast<size_t>(j * 16 + i)] = base.at(u, v);
        }
    return out;
}

}  // namespace qvar::sheet
