// Loading pictures from the read-only data files, with a clear error for a bad file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/data_layout.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "util/files.h"

namespace qvar {

// What checking a data file's bytes against its layout found.
enum class DataCheck : uint8_t { Ok, TooShort, Damaged };

// --- from bytes already read (what the fuzz targets drive) ---
// One picture: the record must lie wholly inside `bytes` and have exactly its layout's width
// and height. On anything but Ok, `out` is left empty.
DataCheck parse_record(const std::vector<uint8_t>& bytes, SpriteRecord record, Sprite& out);
// The 36 glyphs of lets.dat at their running offsets, each its glyph's width x 5.
DataCheck parse_font(const std::vector<uint8_t>& bytes, Font& font);
// The ten 10x15 digits of nums.dat.
DataCheck parse_large_digits(const std::vector<uint8_t>& bytes, std::array<Sprite, 10>& digits);
// The 13 10x10 pick-up icons of boni.dat.
DataCheck parse_bonus_icons(const std::vector<uint8_t>& bytes, std::array<Sprite, 13>& icons);

// --- from the data folder ---
// Each fails with a one-line message naming the file and the folder searched: "Missing data
// file ..." when it is not there, "Data file is too short: ..." or "Data file is damaged: ..."
// otherwise. A file that cannot be read (a folder or a device in its place, no permission)
// counts as damaged; the reason goes to stderr. Only the bytes the layout uses are read.
bool load_sprite_record(const Paths& paths, const char* file, SpriteRecord record, Sprite& out,
                        std::string& error);
bool load_font(const Paths& paths, Font& font, std::string& error);
bool load_large_digits(const Paths& paths, std::array<Sprite, 10>& digits, std::string& error);
bool load_bonus_icons(const Paths& paths, std::array<Sprite, 13>& icons, std::string& error);

// The recoloured digit set: cube colours get their red and blue levels exchanged, every
// pixel below 128 (and 255) becomes transparent.
std::array<Sprite, 10> swap_digit_colours(const std::array<Sprite, 10>& digits);

}  // namespace qvar
