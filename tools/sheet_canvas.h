// A free-size indexed canvas for the contact sheet: enlarged sprites and labels in the game's font.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "gfx/sprite.h"
#include "gfx/text.h"

namespace qvar::sheet {

// Colours of the sheet itself (the grey ramp, so any palette shows them the same).
inline constexpr uint8_t SHEET_BACKGROUND = 19;
inline constexpr uint8_t CHECKER_DARK = 16;   // the game draws on black...
inline constexpr uint8_t CHECKER_LIGHT = 17;  // ...so transparency shows as a faint checker on it

struct Canvas {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;

    Canvas(int32_t w, int32_t h, uint8_t fill);
    void put(int32_t x, int32_t y, uint8_t colour);  // clipped
    void fill(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour);
    // A checker of `cell`-pixel squares behind a sprite of w x h enlarged by `scale`.
    void checker(int32_t x, int32_t y, int32_t w, int32_t h, int32_t cell);
    // The sprite's opaque pixels, each as a scale x scale square.
    void blit(int32_t x, int32_t y, const Sprite& s, int32_t scale);
    // Text drawn by the game's own draw_text, then copied here enlarged by `scale`.
    void text(int32_t x, int32_t y, const Font& font, std::string_view s, uint8_t colour, uint8_t shade,
              int32_t scale = 1);
};

// The game's rotation of the 16x16 ship picture by 0.1 * k radians (nearest pixel).
Sprite rotate_ship(const Sprite& base, int k);

}  // namespace qvar::sheet
