// Sprites: a width byte, a height byte and width x height palette indices (255 = transparent).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvar {

inline constexpr uint8_t TRANSPARENT = 255;

struct Sprite {
    uint8_t width = 0;
    uint8_t height = 0;
    std::vector<uint8_t> pixels;  // width * height bytes, row by row

    uint8_t at(int32_t col, int32_t row) const { return pixels[static_cast<size_t>(row * width + col)]; }
    size_t record_size() const { return 2 + pixels.size(); }
};

// Makes a sprite of the given size filled with one colour.
Sprite make_sprite(uint8_t width, uint8_t height, uint8_t fill);

// Makes a sprite from rows of pixels given as a flat list (width * height values).
Sprite make_sprite(uint8_t width, uint8_t height, const std::vector<uint8_t>& pixels);

// Reads the record at `offset` of a data file already held in memory. The record must fit
// `record_size` bytes (the size the caller knows for it): a record claiming more pixels is
// refused. Bytes past the end of the file read as 255, so missing pixels are transparent.
// Returns false (and leaves `out` empty) when the record does not fit its known size.
bool parse_sprite(const std::vector<uint8_t>& file, size_t offset, size_t record_size, Sprite& out);

// Serialises a sprite as its record bytes.
std::vector<uint8_t> sprite_record(const Sprite& s);

// The built-in sprites that live in the program rather than in the data files.
Sprite core_sprite();
Sprite shot_sprite();
Sprite pellet_sprite();
Sprite bullet_sprite();
inline constexpr uint8_t BLOCK_COLOURS[4] = {40, 42, 44, 46};

}  // namespace qvar
