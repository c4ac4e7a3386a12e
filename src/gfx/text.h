// The 5-pixel bitmap font: two-colour text drawing and width measurement.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "gfx/frame_buffer.h"
#include "gfx/sprite.h"

namespace qvar {

inline constexpr int GLYPH_COUNT = 36;  // a..z, then 0..9
inline constexpr int GLYPH_HEIGHT = 5;
inline constexpr int LINE_HEIGHT = 6;
inline constexpr int32_t NO_WRAP = 999;

inline constexpr std::array<uint8_t, GLYPH_COUNT> GLYPH_WIDTHS = {
    3, 3, 3, 3, 2, 2, 4, 3, 1, 2, 4, 2, 5, 4, 3, 3, 4, 3,  // a..r
    2, 3, 3, 4, 5, 3, 3, 3, 3, 2, 2, 2, 3, 2, 3, 2, 3, 3,  // s..z, 0..9
};

// Glyph pixels use 15 (body), 7 (shade) and 255 (transparent).
inline constexpr uint8_t GLYPH_BODY = 15;
inline constexpr uint8_t GLYPH_SHADE = 7;

struct Font {
    std::array<Sprite, GLYPH_COUNT> glyphs;
};

// Byte offset of glyph i in the font file: each record is 2 + 5 * width bytes.
size_t glyph_offset(int glyph);
// Size of the whole font file (597 bytes).
size_t font_file_size();

// Index of the glyph for a byte (after folding to lower case), or -1 for none.
int glyph_index(char c);

// Draws text with its first line's top-left corner at (x, y). A space past the wrap limit
// starts a new line at x; a line feed always does. Nothing is drawn when colour equals
// shade or either is 255.
void draw_text(FrameBuffer& fb, const Font& font, int32_t x, int32_t y, int32_t wrap_limit,
               std::string_view text, uint8_t colour, uint8_t shade);

// The width draw_text advances over the text as one line (line feeds count 0).
int32_t text_width(std::string_view text);

}  // namespace qvar
