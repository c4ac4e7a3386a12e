// Foe sprites wrapped round the field, with a quick path for the common case of a sprite that
// lies wholly inside the screen (the same pixels as blit_sprite_wrapped, row by row).
#include "world/world_internal.h"

namespace qvar::world {

void draw_sprite_wrapped(FrameBuffer& fb, int32_t x, int32_t y, const Sprite& sprite) {
    const int32_t w = sprite.width;
    const int32_t h = sprite.height;
    if (sprite.pixels.size() < static_cast<size_t>(w * h)) return;  // a malformed sprite draws nothing
    const int32_t x0 = mod_floor(x, SCREEN_WIDTH);
    const int32_t y0 = mod_floor(y, SCREEN_HEIGHT);
    if (x0 + w > SCREEN_WIDTH || y0 + h > SCREEN_HEIGHT) {
        blit_sprite_wrapped(fb, x, y, sprite);
        return;
    }
    const uint8_t* src = sprite.pixels.data();
    uint8_t* row = fb.pixels.data() + static_cast<size_t>(y0 * SCREEN_WIDTH + x0);
    for (int32_t r = 0; r < h; ++r, row += SCREEN_WIDTH, src += w) {
        // Written as a select so that the copy vectorises; transparent pixels keep the frame.
        for (int32_t c = 0; c < w; ++c) row[c] = src[c] != TRANSPARENT ? src[c] : row[c];
    }
}

void draw_sprite_at(FrameBuffer& fb, float x, float y, float a, float b, const Sprite& sprite) {
    draw_sprite_wrapped(fb, trunc_i32(x - a), trunc_i32(y - b), sprite);
}

}  // namespace qvar::world
