// The credits screen: a 3-D star-field behind slowly scrolling text read from c2.dat.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/system.h"

namespace qvar {

inline constexpr int32_t CREDITS_BUFFER_SIZE = 15000;
inline constexpr int32_t CREDITS_LINE_STARTS = 500;
inline constexpr int32_t STAR_COUNT = 1000;

// Byte i of c2.dat is the plain byte XOR (i * i) mod 255; the key repeats every 255 bytes.
uint8_t credits_key(uint64_t i);
// Scrambles plain text into the stored form, or unscrambles the stored form (the same XOR).
std::vector<uint8_t> credits_scramble(const std::vector<uint8_t>& bytes);

// The unscrambled text. Each carriage return becomes a terminating zero and starts a new line;
// only lines ended by a carriage return are shown. A file that does not fit the buffer or the
// line table is cut there: every shown line lies wholly inside the buffer.
struct CreditsText {
    std::array<char, CREDITS_BUFFER_SIZE> buffer{};
    std::array<int32_t, CREDITS_LINE_STARTS> line_starts{};
    int32_t line_count = 1;  // line starts recorded; the last one begins an unfinished line

    int32_t shown_lines() const { return line_count - 1; }
    // Line k (0 .. shown_lines() - 1) up to its terminator.
    std::string_view line(int32_t k) const;
};

// The stored bytes of c2.dat in the data folder, at most the buffer's 15000 (the rest is never
// used). A missing file gives none; one that cannot be read gives none after a line on stderr.
std::vector<uint8_t> read_credits_file(const Paths& paths);

// Fills `text` from the stored (scrambled) bytes of c2.dat; an empty vector gives no lines.
void load_credits_text(const std::vector<uint8_t>& stored, CreditsText& text);

struct StarField {
    std::array<float, STAR_COUNT> x{}, y{}, z{}, d{};
};

// Every star's depth below zero, so each is spawned in the first frame.
void reset_stars(StarField& stars);
// Moves, respawns and draws every star, in order.
void step_stars(System& sys, StarField& stars);
// Draws the visible lines for scroll position s: centred, 7 pixels apart, faded at the edges.
void draw_credits_text(System& sys, const CreditsText& text, float s);

// Called from the menu: runs until a key or a mouse button; after a click it waits for the
// release. Throws QuitRequested on a quit request.
void show_credits(System& sys);

}  // namespace qvar
