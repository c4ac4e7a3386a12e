// The data files the build compiles from data/: layouts, colours and the credits text.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "asset_compiler.h"
#include "gfx/data_files.h"
#include "gfx/data_layout.h"
#include "gfx/text.h"
#include "util/files.h"

namespace qvar {
namespace {

std::vector<uint8_t> built(const char* name) {
    FileRead read = read_file(std::string(QVAR_BUILD_DIR) + "/" + name, 1 << 20, Oversize::Refuse);
    EXPECT_TRUE(read.ok()) << name << " was not built";
    return read.bytes;
}

std::string source_text(const char* name) {
    FileRead read = read_file(std::string(QVAR_SOURCE_DIR) + "/data/" + name, 1 << 20, Oversize::Refuse);
    EXPECT_TRUE(read.ok()) << name;
    return std::string(read.bytes.begin(), read.bytes.end());
}

Sprite record_at(const std::vector<uint8_t>& file, size_t offset, size_t size, int w, int h) {
    Sprite s;
    EXPECT_TRUE(parse_sprite(file, offset, size, s)) << "record at " << offset;
    EXPECT_EQ(s.width, w) << "record at " << offset;
    EXPECT_EQ(s.height, h) << "record at " << offset;
    EXPECT_EQ(s.record_size(), size) << "record at " << offset;
    return s;
}

size_t opaque(const Sprite& s) {
    size_t n = 0;
    for (uint8_t p : s.pixels) n += p != TRANSPARENT;
    return n;
}

TEST(AssetsData, FontHas36GlyphsOfTheirWidthsInBodyAndShadeOnly) {
    auto file = built(FONT_FILE);
    ASSERT_EQ(file.size(), 597u);
    for (int i = 0; i < GLYPH_COUNT; ++i) {
        const uint8_t w = GLYPH_WIDTHS[static_cast<size_t>(i)];
        Sprite g = record_at(file, glyph_offset(i), 2 + 5u * w, w, 5);
        size_t body = 0;
        for (uint8_t p : g.pixels) {
            EXPECT_TRUE(p == GLYPH_BODY || p == GLYPH_SHADE || p == TRANSPARENT) << "glyph " << i << " colour " << int(p);
            body += p == GLYPH_BODY;
        }
        EXPECT_GE(body, 3u) << "glyph " << i << " is barely drawn";
    }
    EXPECT_EQ(glyph_offset(8), 131u);  // the letter i: width 1, five pixels
    EXPECT_EQ(file[131], 1);
    EXPECT_EQ(file[132], 5);
}

TEST(AssetsData, DigitsAreCubeColoursClearOfTheNeighbouringDigit) {
    auto file = built(DIGITS_FILE);
    ASSERT_EQ(file.size(), 1520u);
    std::array<Sprite, 10> digits;
    for (size_t d = 0; d < 10; ++d) {
        digits[d] = record_at(file, 152 * d, 152, 10, 15);
        for (int r = 0; r < 15; ++r)
            for (int c = 0; c < 10; ++c) {
                uint8_t p = digits[d].at(c, r);
                EXPECT_TRUE(p == TRANSPARENT || (p >= 128 && p <= 252)) << "digit " << d << " colour " << int(p);
                // Set 8 pixels apart, columns 8 and 9 lie under the next digit.
                if (c >= 8) {
                    EXPECT_EQ(p, TRANSPARENT) << "digit " << d << " column " << c;
                }
            }
    }
    // The recoloured set must look different: each digit changes colour, none vanishes.
    auto swapped = swap_digit_colours(digits);
    for (size_t d = 0; d < 10; ++d) {
        EXPECT_NE(swapped[d].pixels, digits[d].pixels) << "digit " << d;
        EXPECT_EQ(opaque(swapped[d]), opaque(digits[d])) << "digit " << d;
    }
}

TEST(AssetsData, SpritesFileHasEveryRecordAtItsOffset) {
    auto file = built(SPRITES_FILE);
    ASSERT_EQ(file.size(), SPRITES_FILE_SIZE);
    Sprite ship = record_at(file, SHIP_RECORD.offset, SHIP_RECORD.size, 16, 16);
    record_at(file, SAUCER_RECORD.offset, SAUCER_RECORD.size, 15, 7);
    record_at(file, REPELLER_RECORD.offset, REPELLER_RECORD.size, 20, 15);
    Sprite cell0 = record_at(file, CELL_RECORDS[0].offset, CELL_RECORDS[0].size, 12, 12);
    Sprite cell1 = record_at(file, CELL_RECORDS[1].offset, CELL_RECORDS[1].size, 12, 12);
    record_at(file, SPINNER_RECORD.offset, SPINNER_RECORD.size, 10, 10);
    Sprite spare_a = record_at(file, SPARE_RECORD_A.offset, SPARE_RECORD_A.size, 20, 15);
    Sprite spare_b = record_at(file, SPARE_RECORD_B.offset, SPARE_RECORD_B.size, 7, 5);
    Sprite pointer = record_at(file, POINTER_RECORD.offset, POINTER_RECORD.size, 12, 12);
    Sprite tens = record_at(file, TALLY_TENS_RECORD.offset, TALLY_TENS_RECORD.size, 10, 10);
    Sprite hundreds = record_at(file, TALLY_HUNDREDS_RECORD.offset, TALLY_HUNDREDS_RECORD.size, 10, 10);
    EXPECT_GT(opaque(spare_a), 0u);
    EXPECT_GT(opaque(spare_b), 0u);
    EXPECT_NE(cell0.pixels, cell1.pixels) << "the two cell frames must differ to pulse";
    EXPECT_NE(pointer.at(0, 0), TRANSPARENT) << "the pointer's tip is its hot spot";
    // Tally marks cover less than half of the icon beneath, and differ from each other.
    EXPECT_LT(opaque(tens), 50u);
    EXPECT_LT(opaque(hundreds), 50u);
    EXPECT_NE(tens.pixels, hundreds.pixels);
    // The ship is turned about (7.5, 7.5) inside its 16 x 16 square: a pixel farther out
    // than 8 would be cut off in some orientations.
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            if (ship.at(c, r) != TRANSPARENT) {
                EXPECT_LE(std::hypot(c - 7.5, r - 7.5), 8.0) << c << "," << r;
            }
    EXPECT_NE(ship.at(7, 1), TRANSPARENT) << "the nose points up";
}

TEST(AssetsData, BoniFileHasThirteenDistinctIcons) {
    auto file = built(BONI_FILE);
    ASSERT_EQ(file.size(), 1326u);
    std::set<std::vector<uint8_t>> seen;
    for (size_t i = 0; i < 13; ++i) {
        Sprite icon = record_at(file, ICON_RECORD * i, ICON_RECORD, 10, 10);
        EXPECT_GE(opaque(icon), 15u) << "icon " << i;
        seen.insert(icon.pixels);
    }
    EXPECT_EQ(seen.size(), 13u);
}

TEST(AssetsData, GameLoadersAcceptTheBuiltFiles) {
    Paths paths{QVAR_BUILD_DIR, QVAR_BUILD_DIR};
    std::string error;
    Font font;
    std::array<Sprite, 10> digits;
    std::array<Sprite, 13> icons;
    Sprite s;
    EXPECT_TRUE(load_font(paths, font, error)) << error;
    EXPECT_TRUE(load_large_digits(paths, digits, error)) << error;
    EXPECT_TRUE(load_bonus_icons(paths, icons, error)) << error;
    EXPECT_TRUE(load_sprite_record(paths, SPRITES_FILE, TALLY_HUNDREDS_RECORD, s, error)) << error;
}

TEST(AssetsData, BuiltFilesMatchTheirSources) {
    const std::pair<const char*, assets::FileLayout> art[] = {
        {"font.txt", assets::font_layout()},
        {"digits.txt", assets::digits_layout()},
        {"sprites.txt", assets::sprites_layout()},
        {"boni.txt", assets::boni_layout()},
    };
    for (const auto& [source, layout] : art) {
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(assets::compile_art(source_text(source), source, layout, bytes, error)) << error;
        EXPECT_EQ(bytes, built(layout.output.c_str())) << source;
    }
}

TEST(AssetsData, CreditsUnscrambleToTheSourceWithCarriageReturns) {
    auto file = built(CREDITS_FILE);
    auto plain_bytes = assets::credits_scramble(file);
    std::string plain(plain_bytes.begin(), plain_bytes.end());
    std::string expected = source_text("credits.txt");
    for (char& c : expected)
        if (c == '\n') c = '\r';
    EXPECT_EQ(plain, expected);
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain.back(), '\r') << "the last line needs its carriage return to be shown";
    EXPECT_LE(plain.size(), 14999u);
    size_t lines = 0, start = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] != '\r') {
            EXPECT_TRUE(assets::credits_char_ok(plain[i])) << "byte " << int(plain[i]) << " at " << i;
            continue;
        }
        EXPECT_LE(text_width(std::string_view(plain).substr(start, i - start)), 320) << "line " << lines;
        ++lines;
        start = i + 1;
    }
    EXPECT_LE(lines, 499u);
    EXPECT_GE(lines, 10u);
    EXPECT_NE(plain.find("QVAR"), std::string::npos);
}

}  // namespace
}  // namespace qvar
