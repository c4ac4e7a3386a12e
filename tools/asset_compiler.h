// Compiling the readable sources in data/ into the game's binary data files.
//
// Each art file is checked against the layout the game reads: the sprites in their order,
// with their names and sizes, and only the colours the game can use for them. The credits
// text is checked against what the credits screen can hold and draw, then scrambled.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "art_source.h"

namespace qvar::assets {

// Which palette indices a file's pixels may use (255 is always transparency).
enum class ColourRule {
    Any,        // every index
    FontShades, // 15 (body), 7 (shade) and 255 only: the text drawer swaps 15 and 7 for its pair
    CubeOnly,   // 128..252 and 255: the recoloured digit set swaps red and blue in the cube
};

struct SpriteSlot {
    std::string name;
    uint8_t width;
    uint8_t height;
};

struct FileLayout {
    std::string output;  // lets.dat, nums.dat, qvar.dat or boni.dat
    std::vector<SpriteSlot> slots;
    ColourRule rule;
    size_t file_size;  // the size the game expects
};

// The four art layouts, built from the game's own tables (glyph widths, record sizes).
FileLayout font_layout();
FileLayout digits_layout();
FileLayout sprites_layout();
FileLayout boni_layout();
// The layout whose kind is "font", "digits", "sprites" or "boni"; false for any other word.
bool layout_for_kind(std::string_view kind, FileLayout& layout);

// Parses an art source and checks it against the layout; on success `out` holds the file's
// bytes (records back to back). On failure `error` holds one line naming the source line.
bool compile_art(std::string_view text, const std::string& source_name, const FileLayout& layout,
                 std::vector<uint8_t>& out, std::string& error);

// The credits screen's limits: its text buffer and line table.
inline constexpr size_t CREDITS_MAX_BYTES = 14999;  // the screen's 15000-byte buffer keeps one for the end
inline constexpr size_t CREDITS_MAX_LINES = 499;    // its 500-entry line table likewise
inline constexpr int32_t CREDITS_MAX_WIDTH = 320;

// True for the bytes the credits may hold on a line: what the font and text drawer can show.
bool credits_char_ok(char c);

// Turns the credits source (lines ended by LF, CR LF or CR) into the plain text the game
// reads: every line ended by a carriage return. Checks characters, widths and limits.
bool credits_plain_text(std::string_view source, const std::string& source_name, std::string& plain,
                        std::string& error);

// The position-keyed XOR: byte i is XORed with (i * i) mod 255. Applying it twice gives
// back the input.
std::vector<uint8_t> credits_scramble(const std::vector<uint8_t>& bytes);

// Both steps: source text to the bytes of c2.dat.
bool compile_credits(std::string_view source, const std::string& source_name, std::vector<uint8_t>& out,
                     std::string& error);

}  // namespace qvar::assets
