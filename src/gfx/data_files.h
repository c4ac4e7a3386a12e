// Loading pictures from the read-only data files, with a clear error for a bad file.
#pragma once

#include <array>
#include <string>

#include "gfx/data_layout.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "util/files.h"

namespace qvar {

// Loads one record from a data file. Fails (with a one-line message naming the file and the
// folder searched) when the file is missing, when the record does not lie wholly inside it,
// or when its size bytes do not match `expected_size`.
bool load_sprite_record(const Paths& paths, const char* file, SpriteRecord record, Sprite& out,
                        std::string& error);

// The 36 glyphs of lets.dat at their running offsets; each must be width x 5.
bool load_font(const Paths& paths, Font& font, std::string& error);

// The ten 10x15 digits of nums.dat.
bool load_large_digits(const Paths& paths, std::array<Sprite, 10>& digits, std::string& error);

// The recoloured digit set: cube colours get their red and blue levels exchanged, every
// pixel below 128 (and 255) becomes transparent.
std::array<Sprite, 10> swap_digit_colours(const std::array<Sprite, 10>& digits);

// The 13 pick-up icons of boni.dat.
bool load_bonus_icons(const Paths& paths, std::array<Sprite, 13>& icons, std::string& error);

}  // namespace qvar
