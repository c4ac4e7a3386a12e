// The application icon drawn from the game's own ship: whole-number enlargements for the
// PNG sizes and a scalable SVG with one rectangle per run of same-coloured pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/palette.h"
#include "gfx/sprite.h"

namespace qvar::icon {

// The colour behind the sprite: the game always draws on black.
inline constexpr uint8_t BACKGROUND = 0;

// `size` x `size` palette indices: the sprite centred and enlarged by the largest whole
// factor that fits, each pixel a crisp square; transparent pixels and the margin are
// BACKGROUND. Requires size >= the sprite's larger side.
std::vector<uint8_t> render_icon(const Sprite& sprite, uint32_t size);

// An SVG of the sprite on a BACKGROUND square, one <rect> per horizontal run of equal
// colour, in the palette's colours; its view box is the sprite's pixel grid.
std::string render_icon_svg(const Sprite& sprite, const Palette& palette);

}  // namespace qvar::icon
