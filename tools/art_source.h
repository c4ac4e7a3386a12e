// Reading the text pixel maps in data/: named sprites drawn with characters and a colour key.
//
// A source file is a list of lines:
//   # a comment                     (anywhere outside a sprite's rows)
//   key C COLOUR                      a key for every later sprite of the file
//   sprite NAME WxH                 starts a sprite; then optional `key` lines for it alone,
//                                   then exactly H rows of exactly W key characters each
// COLOUR names one palette index: a number 0..255, `clear` (255, transparent),
// `grey N` (0..15), `full N`, `light N`, `pale N`, `dark N` (hue wheels, 0..23),
// or `cube R G B` (each 0..4). Anything after a further `#` on a key line is a comment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/sprite.h"

namespace qvar::assets {

struct ArtSprite {
    std::string name;
    int line = 0;  // line number of its `sprite` header, for messages
    Sprite sprite;
};

// Parses a whole source text. `source_name` only labels the messages. On any error returns
// false with one line "name:line: what is wrong" in `error`; `out` then holds the sprites
// read so far.
bool parse_art(std::string_view text, const std::string& source_name, std::vector<ArtSprite>& out,
               std::string& error);

// Reads one colour COLOUR (the words after `key C`); false when it is not a valid index.
bool parse_colour_name(std::string_view colour, uint8_t& index, std::string& error);

}  // namespace qvar::assets
