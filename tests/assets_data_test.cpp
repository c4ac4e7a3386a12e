// The data files the build compiles from data/: built from their sources, read by the game's
// own loaders, and drawn so that they work on screen.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "gfx/data_files.h"
#include "gfx/data_layout.h"
#include "gfx/text.h"
#include "screens/credits.h"
#include "util/files.h"

namespace qvar {
namespace {

std::vector<uint8_t> file_bytes(const std::string& path) {
    FileRead read = read_file(path, 1 << 20, Oversize::Refuse);
    EXPECT_TRUE(read.ok()) << path;
    return read.bytes;
}
std::vector<uint8_t> built(const std::string& name) { return file_bytes(std::string(QVAR_BUILD_DIR) + "/" + name); }
std::string source_text(const char* name) {
    const std::vector<uint8_t> bytes = file_bytes(std::string(QVAR_SOURCE_DIR) + "/data/" + name);
    return {bytes.begin(), bytes.end()};
}

size_t opaque(const Sprite& s) {
    size_t n = 0;
    for (uint8_t p : s.pixels) n += p != TRANSPARENT;
    return n;
}

// The game's own unscrambling of the built c2.dat gives the source back, each line ending in
// a carriage return. (The pictures are checked by loading them below.)
TEST(AssetsData, BuiltCreditsUnscrambleToTheirSource) {
    std::string expected = source_text("credits.txt");
    for (char& c : expected) c = c == '\n' ? '\r' : c;
    const std::vector<uint8_t> plain = credits_scramble(built(CREDITS_FILE));
    EXPECT_EQ(std::string(plain.begin(), plain.end()), expected);
    EXPECT_EQ(expected.back(), '\r');
}

TEST(AssetsData, GameLoadersAcceptThePicturesAndTheyDrawWell) {
    const Paths paths{QVAR_BUILD_DIR, QVAR_BUILD_DIR};
    std::string error;
    Font font;
    std::array<Sprite, 10> digits;
    std::array<Sprite, 13> icons;
    ASSERT_TRUE(load_font(paths, font, error) && load_large_digits(paths, digits, error) &&
                load_bonus_icons(paths, icons, error)) << error;
    for (size_t i = 0; i < font.glyphs.size(); ++i)
        EXPECT_GE(std::count(font.glyphs[i].pixels.begin(), font.glyphs[i].pixels.end(), GLYPH_BODY), 3) << "glyph " << i;
    // Set 8 pixels apart, a digit's columns 8 and 9 lie under the next one; the recoloured set
    // changes each digit's colours and loses no pixel.
    const std::array<Sprite, 10> swapped = swap_digit_colours(digits);
    for (size_t d = 0; d < 10; ++d) {
        for (int r = 0; r < 15; ++r) EXPECT_TRUE(digits[d].at(8, r) == TRANSPARENT && digits[d].at(9, r) == TRANSPARENT) << d;
        EXPECT_TRUE(swapped[d].pixels != digits[d].pixels && opaque(swapped[d]) == opaque(digits[d])) << d;
    }
    std::set<std::vector<uint8_t>> seen;
    for (const Sprite& icon : icons) {
        EXPECT_GE(opaque(icon), 15u);
        seen.insert(icon.pixels);
    }
    EXPECT_EQ(seen.size(), 13u);

    std::array<Sprite, 11> s;
    const SpriteRecord records[] = {SHIP_RECORD, SAUCER_RECORD, REPELLER_RECORD, CELL_RECORDS[0], CELL_RECORDS[1], SPINNER_RECORD,
                                    SPARE_RECORD_A, SPARE_RECORD_B, POINTER_RECORD, TALLY_TENS_RECORD, TALLY_HUNDREDS_RECORD};
    for (size_t i = 0; i < s.size(); ++i) ASSERT_TRUE(load_sprite_record(paths, SPRITES_FILE, records[i], s[i], error)) << error;
    const Sprite &ship = s[0], &tens = s[9], &hundreds = s[10];
    EXPECT_TRUE(opaque(s[6]) > 0 && opaque(s[7]) > 0);
    EXPECT_NE(s[3].pixels, s[4].pixels) << "the two cell frames must differ to pulse";
    EXPECT_NE(s[8].at(0, 0), TRANSPARENT) << "the pointer's tip is its hot spot";
    // Tally marks cover less than half of the icon beneath, and differ from each other.
    EXPECT_TRUE(opaque(tens) < 50u && opaque(hundreds) < 50u && tens.pixels != hundreds.pixels);
    // The ship turns about (7.5, 7.5): a pixel farther out than 8 would be cut off in some turns.
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) EXPECT_TRUE(ship.at(c, r) == TRANSPARENT || std::hypot(c - 7.5, r - 7.5) <= 8.0) << c << "," << r;
    EXPECT_NE(ship.at(7, 1), TRANSPARENT) << "the nose points up";
}

}  // namespace
}  // namespace qvar
