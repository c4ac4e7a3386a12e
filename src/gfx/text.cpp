// Bitmap text: glyph sprites for letters and digits, hand-placed pixels for punctuation.
#include "gfx/text.h"

#include "gfx/draw.h"
#include "util/numeric.h"

namespace qvar {

namespace {

// The at sign is built in: 0 = shade, 1 = main colour, 255 = transparent.
constexpr uint8_t AT_SIGN[25] = {
    0, 1, 1, 1, 0,  //
    1, 255, 255, 255, 1,  //
    1, 255, 1, 1, 0,  //
    1, 255, 255, 255, 255,  //
    0, 1, 1, 1, 0,
};

struct Dot {
    int8_t dx, dy;
};

struct Punctuation {
    char c;
    int8_t advance;
    uint8_t main_count;
    Dot main[7];
    uint8_t shade_count;
    Dot shade[5];
};

constexpr Punctuation PUNCTUATION[] = {
    {'\'', 2, 2, {{0, 0}, {0, 1}}, 0, {}},
    {'.', 2, 1, {{0, 4}}, 0, {}},
    {'-', 3, 0, {}, 2, {{0, 2}, {1, 2}}},
    {'+', 4, 0, {}, 5, {{0, 2}, {1, 2}, {2, 2}, {1, 1}, {1, 3}}},
    {'!', 2, 4, {{0, 0}, {0, 1}, {0, 2}, {0, 4}}, 0, {}},
    {'?', 3, 4, {{0, 0}, {1, 1}, {0, 2}, {0, 4}}, 2, {{1, 0}, {1, 2}}},
    {'[', 3, 7, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 0}, {1, 4}}, 0, {}},
    {']', 3, 7, {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {0, 0}, {0, 4}}, 0, {}},
    {'/', 4, 3, {{2, 0}, {1, 2}, {0, 4}}, 4, {{1, 1}, {2, 1}, {0, 3}, {1, 3}}},
    {':', 2, 2, {{0, 2}, {0, 4}}, 0, {}},
    {',', 3, 1, {{1, 3}}, 1, {{0, 4}}},
};

const Punctuation* find_punctuation(char c) {
    for (const Punctuation& p : PUNCTUATION)
        if (p.c == c) return &p;
    return nullptr;
}

// A glyph copy with 15 and 7 swapped for the requested pair, clipped at the right and bottom.
void blit_glyph(FrameBuffer& fb, int32_t x, int32_t y, const Sprite& g, uint8_t colour, uint8_t shade) {
    const auto ux = static_cast<uint32_t>(x);
    const auto uy = static_cast<uint32_t>(y);
    if (ux >= static_cast<uint32_t>(SCREEN_WIDTH) || uy >= static_cast<uint32_t>(SCREEN_HEIGHT)) return;
    for (uint32_t r = 0; r < g.height; ++r) {
        for (uint32_t c = 0; c < g.width; ++c) {
            uint8_t p = g.pixels[r * g.width + c];
            if (p == GLYPH_BODY)
                p = colour;
            else if (p == GLYPH_SHADE)
                p = shade;
            if (p != TRANSPARENT) put_pixel(fb, ux + c, uy + r, p);
        }
    }
}

void draw_at_sign(FrameBuffer& fb, int32_t x, int32_t y, uint8_t colour, uint8_t shade) {
    const auto ux = static_cast<uint32_t>(x);
    const auto uy = static_cast<uint32_t>(y);
    if (ux >= static_cast<uint32_t>(SCREEN_WIDTH) || uy >= static_cast<uint32_t>(SCREEN_HEIGHT)) return;
    for (uint32_t i = 0; i < 25; ++i) {
        uint8_t p = AT_SIGN[i];
        if (p == 255) continue;
        put_pixel(fb, ux + i % 5, uy + i / 5, p == 1 ? colour : shade);
    }
}

void draw_punctuation(FrameBuffer& fb, int32_t x, int32_t y, const Punctuation& p, uint8_t colour,
                      uint8_t shade) {
    auto at = [&](Dot d, uint8_t c) {
        put_pixel(fb, static_cast<uint32_t>(add_wrap(x, d.dx)), static_cast<uint32_t>(add_wrap(y, d.dy)), c);
    };
    for (int i = 0; i < p.main_count; ++i) at(p.main[i], colour);
    for (int i = 0; i < p.shade_count; ++i) at(p.shade[i], shade);
}

}  // namespace

size_t glyph_offset(int glyph) {
    size_t offset = 0;
    for (int i = 0; i < glyph && i < GLYPH_COUNT; ++i) offset += 2 + 5 * GLYPH_WIDTHS[static_cast<size_t>(i)];
    return offset;
}

size_t font_file_size() { return glyph_offset(GLYPH_COUNT); }

int glyph_index(char c) {
    char l = to_lower(c);
    if (l >= 'a' && l <= 'z') return l - 'a';
    if (l >= '0' && l <= '9') return 26 + (l - '0');
    return -1;
}

void draw_text(FrameBuffer& fb, const Font& font, int32_t x, int32_t y, int32_t wrap_limit,
               std::string_view text, uint8_t colour, uint8_t shade) {
    if (colour == shade || colour == 255 || shade == 255) return;
    const int32_t x0 = x;
    for (char c : text) {
        if (c == '\0') break;
        int g = glyph_index(c);
        if (g >= 0) {
            const Sprite& glyph = font.glyphs[static_cast<size_t>(g)];
            blit_glyph(fb, x, y, glyph, colour, shade);
            x = add_wrap(x, GLYPH_WIDTHS[static_cast<size_t>(g)] + 1);
        } else if (c == ' ') {
            x = add_wrap(x, 2);
            if (x > wrap_limit) {
                x = x0;
                y = add_wrap(y, LINE_HEIGHT);
            }
        } else if (c == '\n') {
            x = x0;
            y = add_wrap(y, LINE_HEIGHT);
        } else if (c == '@') {
            draw_at_sign(fb, x, y, colour, shade);
            x = add_wrap(x, 6);
        } else if (const Punctuation* p = find_punctuation(c)) {
            draw_punctuation(fb, x, y, *p, colour, shade);
            x = add_wrap(x, p->advance);
        }
    }
}

int32_t text_width(std::string_view text) {
    int32_t width = 0;
    for (char c : text) {
        if (c == '\0') break;
        int g = glyph_index(c);
        if (g >= 0)
            width += GLYPH_WIDTHS[static_cast<size_t>(g)] + 1;
        else if (c == ' ')
            width += 2;
        else if (c == '@')
            width += 6;
        else if (const Punctuation* p = find_punctuation(c))
            width += p->advance;
    }
    return width;
}

}  // namespace qvar
