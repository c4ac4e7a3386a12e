// Drawing primitives with the unsigned clipping rules the game's pictures rely on.
#include "gfx/draw.h"

#include <cmath>
#include <cstring>

#include "util/numeric.h"

namespace qvar {

void put_pixel(FrameBuffer& fb, uint32_t x, uint32_t y, uint8_t colour) {
    if (x < static_cast<uint32_t>(SCREEN_WIDTH) && y < static_cast<uint32_t>(SCREEN_HEIGHT))
        fb.pixels[y * static_cast<uint32_t>(SCREEN_WIDTH) + x] = colour;
}

uint8_t get_pixel(const FrameBuffer& fb, uint32_t x, uint32_t y) {
    if (x < static_cast<uint32_t>(SCREEN_WIDTH) && y < static_cast<uint32_t>(SCREEN_HEIGHT))
        return fb.pixels[y * static_cast<uint32_t>(SCREEN_WIDTH) + x];
    return 255;
}

void fill_rect(FrameBuffer& fb, uint32_t x, uint32_t y, uint32_t width, uint32_t height, uint8_t colour) {
    // The loops compare i < x + width with unsigned wrap-round: a sum that wraps draws nothing.
    const uint32_t x_end = x + width;
    const uint32_t y_end = y + height;
    if (x_end <= x || y_end <= y) return;
    const uint32_t x_stop = x_end < static_cast<uint32_t>(SCREEN_WIDTH) ? x_end : SCREEN_WIDTH;
    const uint32_t y_stop = y_end < static_cast<uint32_t>(SCREEN_HEIGHT) ? y_end : SCREEN_HEIGHT;
    for (uint32_t i = x; i < x_stop; ++i)
        for (uint32_t j = y; j < y_stop; ++j) put_pixel(fb, i, j, colour);
}

void plot_plus(FrameBuffer& fb, int32_t x, int32_t y, uint8_t colour) {
    auto u = [](int32_t v) { return static_cast<uint32_t>(v); };
    put_pixel(fb, u(x), u(y), colour);
    put_pixel(fb, u(x) + 1u, u(y), colour);
    put_pixel(fb, u(x) - 1u, u(y), colour);
    put_pixel(fb, u(x), u(y) + 1u, colour);
    put_pixel(fb, u(x), u(y) - 1u, colour);
}

void brighten_pixel(FrameBuffer& fb, int32_t x, int32_t y, uint8_t colour) {
    auto ux = static_cast<uint32_t>(x);
    auto uy = static_cast<uint32_t>(y);
    if (get_pixel(fb, ux, uy) < colour) put_pixel(fb, ux, uy, colour);
}

void plot_soft_dot(FrameBuffer& fb, float x, float y, float level) {
    int32_t ix = trunc_i32(x);
    int32_t iy = trunc_i32(y);
    float fx = x - static_cast<float>(ix);
    float fy = y - static_cast<float>(iy);
    float gx = 1.0f - fx;
    float gy = 1.0f - fy;
    float l = level - 16.0f;
    auto shade = [&](float weight) { return low_byte_of(16.0f + std::sqrt(weight) * l); };
    brighten_pixel(fb, ix, iy, shade(gy * gx));
    brighten_pixel(fb, add_wrap(ix, 1), iy, shade(gy * fx));
    brighten_pixel(fb, ix, add_wrap(iy, 1), shade(fy * gx));
    brighten_pixel(fb, add_wrap(ix, 1), add_wrap(iy, 1), shade(fy * fx));
}

namespace {

// Sprite pixels over n bytes of the frame: the transparent ones (255) keep what is there.
template <int N>
void blend_bytes(uint8_t* row, const uint8_t* src) {
    typedef uint8_t bytes __attribute__((vector_size(N)));
    bytes s, r, clear;
    std::memcpy(&s, src, N);
    std::memcpy(&r, row, N);
    std::memset(&clear, TRANSPARENT, N);
    const bytes keep = reinterpret_cast<bytes>(s == clear);
    r = (r & keep) | (s & ~keep);
    std::memcpy(row, &r, N);
}

// The same over a run of n pixels of one row: sixteen and eight at a time, then one by one.
void blend_run(uint8_t* row, const uint8_t* src, int32_t n) {
    int32_t c = 0;
    for (; c + 16 <= n; c += 16) blend_bytes<16>(row + c, src + c);
    if (c + 8 <= n) {
        blend_bytes<8>(row + c, src + c);
        c += 8;
    }
    for (; c < n; ++c)
        if (src[c] != TRANSPARENT) row[c] = src[c];
}

bool well_formed(const Sprite& sprite) {
    return sprite.pixels.size() >= static_cast<size_t>(sprite.width) * sprite.height;
}

}  // namespace

void blit_sprite(FrameBuffer& fb, uint32_t x, uint32_t y, const Sprite& sprite) {
    if (x >= static_cast<uint32_t>(SCREEN_WIDTH) || y >= static_cast<uint32_t>(SCREEN_HEIGHT)) return;
    if (!well_formed(sprite)) return;  // a malformed sprite draws nothing
    const uint32_t w = sprite.width;
    const uint32_t h = sprite.height;
    const uint32_t draw_w = (x + w > static_cast<uint32_t>(SCREEN_WIDTH)) ? SCREEN_WIDTH - x : w;
    const uint32_t draw_h = (y + h > static_cast<uint32_t>(SCREEN_HEIGHT)) ? SCREEN_HEIGHT - y : h;
    for (uint32_t r = 0; r < draw_h; ++r)
        blend_run(fb.pixels.data() + (y + r) * static_cast<uint32_t>(SCREEN_WIDTH) + x, sprite.pixels.data() + r * w,
                  static_cast<int32_t>(draw_w));
}

void blit_sprite_wrapped(FrameBuffer& fb, int32_t x, int32_t y, const Sprite& sprite) {
    if (!well_formed(sprite)) return;
    // For x >= -320 and y >= -200 this is the usual (x + 320 + c) mod 320; beyond that the
    // true modulo keeps wrapping consistently instead of scattering pixels.
    const int32_t x0 = mod_floor(x, SCREEN_WIDTH);
    const int32_t y0 = mod_floor(y, SCREEN_HEIGHT);
    const int32_t w = sprite.width;
    const int32_t h = sprite.height;
    // A row is narrower than the screen, so it wraps at most once: two runs of columns.
    const int32_t first_run = w < SCREEN_WIDTH - x0 ? w : SCREEN_WIDTH - x0;
    for (int32_t r = 0; r < h; ++r) {
        const uint8_t* src = sprite.pixels.data() + static_cast<size_t>(r * w);
        uint8_t* row = fb.pixels.data() + static_cast<size_t>(((y0 + r) % SCREEN_HEIGHT) * SCREEN_WIDTH);
        blend_run(row + x0, src, first_run);
        blend_run(row, src + first_run, w - first_run);
    }
}

}  // namespace qvar
