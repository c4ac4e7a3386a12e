// Drawing primitives on the frame buffer: pixels, rectangles, lines, dots and sprites.
// None keeps state; all clip to the 320x200 field (sprites may instead wrap round it).
#pragma once

#include <cstdint>

#include "gfx/frame_buffer.h"
#include "gfx/sprite.h"

namespace qvar {

// Coordinates are compared as unsigned numbers, so negative ones are outside.
void put_pixel(FrameBuffer& fb, uint32_t x, uint32_t y, uint8_t colour);
// The pixel at (x, y), or 255 outside the screen.
uint8_t get_pixel(const FrameBuffer& fb, uint32_t x, uint32_t y);
// Columns from x while below x + width, rows likewise; unsigned, so negative x or y draw nothing.
void fill_rect(FrameBuffer& fb, uint32_t x, uint32_t y, uint32_t width, uint32_t height, uint8_t colour);
// A line stepped one pixel at a time along its longer axis; the second end point is not drawn.
void draw_line(FrameBuffer& fb, float x1, float y1, float x2, float y2, uint8_t colour);
// Five pixels: centre, right, left, below, above.
void plot_plus(FrameBuffer& fb, int32_t x, int32_t y, uint8_t colour);
// Sets the pixel only when its current index is below `colour`.
void brighten_pixel(FrameBuffer& fb, int32_t x, int32_t y, uint8_t colour);
// An anti-aliased dot on the grey ramp (16 = black .. 31 = white), spread over four pixels.
void plot_soft_dot(FrameBuffer& fb, float x, float y, float level);
// Sprite with its top-left corner at (x, y), clipped at the right and bottom edges;
// a corner left of or above the screen draws nothing.
void blit_sprite(FrameBuffer& fb, uint32_t x, uint32_t y, const Sprite& sprite);
// Sprite wrapped round all four edges; every pixel lands inside the buffer for any x, y.
void blit_sprite_wrapped(FrameBuffer& fb, int32_t x, int32_t y, const Sprite& sprite);

}  // namespace qvar
