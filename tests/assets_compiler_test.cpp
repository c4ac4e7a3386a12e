// The asset compiler: its source format, its layout checks and its credits rules.
#include <gtest/gtest.h>

#include <string>

#include "asset_compiler.h"
#include "gfx/text.h"

namespace qvar::assets {
namespace {

// Runs the parser and returns its message ("" when it accepted the text).
std::string art_error(const std::string& text) {
    std::vector<ArtSprite> out;
    std::string error;
    return parse_art(text, "t.txt", out, error) ? std::string() : error;
}

std::string compile_error(const std::string& text, const FileLayout& layout) {
    std::vector<uint8_t> out;
    std::string error;
    return compile_art(text, "t.txt", layout, out, error) ? std::string() : error;
}

uint8_t colour(const std::string& s) {
    uint8_t index = 0;
    std::string error;
    EXPECT_TRUE(parse_colour_name(s, index, error)) << s << ": " << error;
    return index;
}

TEST(AssetsCompiler, ColourSpecsNameThePaletteLayout) {
    EXPECT_EQ(colour("clear"), 255);
    EXPECT_EQ(colour("7"), 7);
    EXPECT_EQ(colour("grey 0"), 16);
    EXPECT_EQ(colour("grey 15"), 31);
    EXPECT_EQ(colour("full 8"), 40);   // red
    EXPECT_EQ(colour("full 10"), 42);  // orange
    EXPECT_EQ(colour("light 0"), 56);
    EXPECT_EQ(colour("pale 23"), 103);
    EXPECT_EQ(colour("dark 0"), 104);
    EXPECT_EQ(colour("cube 1 0 3"), 204);  // red level 1, blue level 3
    EXPECT_EQ(colour("cube 4 4 4"), 252);
    uint8_t index = 0;
    std::string error;
    for (const char* bad : {"256", "-1", "grey 16", "full 24", "cube 5 0 0", "cube 1 2", "teal 3", "", "12x"})
        EXPECT_FALSE(parse_colour_name(bad, index, error)) << bad;
}

TEST(AssetsCompiler, ParsesKeysCommentsAndRows) {
    const std::string text =
        "# a comment\n"
        "key . clear\n"
        "key # 15   # '#' may be a key\n"
        "key + 7\n"
        "\n"
        "sprite a 3x2\n"
        "key + grey 3\n"  // this sprite's own '+'
        "#+.\n"
        ".#+\n"
        "sprite b 2x1\n"
        "+#\n";
    std::vector<ArtSprite> out;
    std::string error;
    ASSERT_TRUE(parse_art(text, "t.txt", out, error)) << error;
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].name, "a");
    EXPECT_EQ(out[0].line, 6);
    EXPECT_EQ(out[0].sprite.pixels, (std::vector<uint8_t>{15, 19, 255, 255, 15, 19}));
    EXPECT_EQ(out[1].sprite.pixels, (std::vector<uint8_t>{7, 15})) << "a sprite's own key ends with it";
}

TEST(AssetsCompiler, RejectsMalformedSourcesNamingTheLine) {
    const std::string keys = "key . clear\nkey # 15\n";
    EXPECT_EQ(art_error(keys + "sprite a 3x2\n#.#\n##\n"), "t.txt:5: sprite 'a' row 1 is 2 pixels wide, expected 3");
    EXPECT_EQ(art_error(keys + "sprite a 2x1\n#x\n"), "t.txt:4: sprite 'a' row 0 uses 'x', which has no key");
    EXPECT_EQ(art_error(keys + "sprite a 2x3\n##\n##\n"), "t.txt:5: sprite 'a' ends after 2 of 3 rows");
    EXPECT_NE(art_error(keys + "sprite a 2by3\n").find("t.txt:3: sprite size"), std::string::npos);
    EXPECT_NE(art_error(keys + "sprite a 0x3\n").find("t.txt:3:"), std::string::npos);
    EXPECT_NE(art_error(keys + "sprite a\n").find("t.txt:3: a sprite header"), std::string::npos);
    EXPECT_NE(art_error("key x grey 99\n").find("t.txt:1: colour 'grey 99'"), std::string::npos);
    EXPECT_NE(art_error("key xy 3\n").find("t.txt:1: a key line"), std::string::npos);
    EXPECT_NE(art_error(keys + "sprite a 1x1\nkey o 3\nkey o 4\no\n").find("t.txt:5: key 'o' is given twice"),
              std::string::npos);
    EXPECT_NE(art_error("pixels 3\n").find("t.txt:1: expected 'key', 'sprite'"), std::string::npos);
    EXPECT_NE(art_error(keys + "sprite a 2x1\n# \n").find("t.txt:4:"), std::string::npos) << "a space is no pixel";
    EXPECT_EQ(art_error(keys + "sprite a 2x1\r\n#.\r\n"), "") << "CR LF line ends are fine";
}

TEST(AssetsCompiler, ChecksSpritesAgainstTheLayout) {
    FileLayout layout{"x.dat", {{"one", 2, 1}, {"two", 1, 2}}, ColourRule::Any, 2 + 2 + 2 + 2};
    const std::string keys = "key . clear\nkey # 15\nkey g 10\n";
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(compile_art(keys + "sprite one 2x1\n#.\nsprite two 1x2\ng\n#\n", "t.txt", layout, out, error)) << error;
    EXPECT_EQ(out, (std::vector<uint8_t>{2, 1, 15, 255, 1, 2, 10, 15}));
    EXPECT_EQ(compile_error(keys + "sprite two 1x2\n#\n#\n", layout), "t.txt:4: expected sprite 'one' here, found 'two'");
    EXPECT_EQ(compile_error(keys + "sprite one 1x2\n#\n#\n", layout), "t.txt:4: sprite 'one' must be 2x1, not 1x2");
    EXPECT_EQ(compile_error(keys + "sprite one 2x1\n##\n", layout),
              "t.txt: x.dat needs 2 sprites, the source has 1 (next missing: 'two')");
    EXPECT_NE(compile_error(keys + "sprite one 2x1\n##\nsprite two 1x2\n#\n#\nsprite three 1x1\n#\n", layout)
                  .find("needs 2 sprites, the source has 3"),
              std::string::npos);
}

TEST(AssetsCompiler, EnforcesTheFontAndDigitColours) {
    std::string font = "key . clear\nkey # 15\nkey + 7\nkey g 10\n";
    for (int i = 0; i < GLYPH_COUNT; ++i) {
        const int w = GLYPH_WIDTHS[static_cast<size_t>(i)];
        font += "sprite " + std::string(1, i < 26 ? char('a' + i) : char('0' + i - 26)) + " " + std::to_string(w) + "x5\n";
        for (int r = 0; r < 5; ++r) font += std::string(static_cast<size_t>(w), r == 2 ? '+' : '#') + "\n";
    }
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(compile_art(font, "f.txt", font_layout(), out, error)) << error;
    EXPECT_EQ(out.size(), 597u);
    std::string green = font;
    green.replace(green.find("sprite b 3x5\n###"), 16, "sprite b 3x5\n#g#");
    EXPECT_FALSE(compile_art(green, "f.txt", font_layout(), out, error));
    EXPECT_NE(error.find("sprite 'b' pixel (1,0) is colour 10: font glyphs may use only"), std::string::npos) << error;

    std::string digits = "key . clear\nkey o cube 4 2 0\nkey x 12\n";
    for (int d = 0; d < 10; ++d) {
        digits += "sprite " + std::to_string(d) + " 10x15\n";
        for (int r = 0; r < 15; ++r) digits += (d == 7 && r == 3 ? "ooxooooo..\n" : "oooooooo..\n");
    }
    EXPECT_FALSE(compile_art(digits, "d.txt", digits_layout(), out, error));
    EXPECT_NE(error.find("sprite '7' pixel (2,3) is colour 12: large digits may use only colour-cube"),
              std::string::npos)
        << error;
}

TEST(AssetsCompiler, LayoutsMatchTheGameFiles) {
    EXPECT_EQ(font_layout().file_size, 597u);
    EXPECT_EQ(digits_layout().file_size, 1520u);
    EXPECT_EQ(sprites_layout().file_size, 1750u);
    EXPECT_EQ(boni_layout().file_size, 1326u);
    FileLayout l;
    EXPECT_TRUE(layout_for_kind("sprites", l));
    EXPECT_EQ(l.slots.size(), 11u);
    EXPECT_FALSE(layout_for_kind("music", l));
}

std::string credits_error(const std::string& text) {
    std::string plain, error;
    return credits_plain_text(text, "c.txt", plain, error) ? std::string() : error;
}

TEST(AssetsCompiler, CreditsLinesEndInCarriageReturns) {
    std::string plain, error;
    ASSERT_TRUE(credits_plain_text("One\nTwo\r\nThree\rFour", "c.txt", plain, error)) << error;
    EXPECT_EQ(plain, "One\rTwo\rThree\rFour\r");
    ASSERT_TRUE(credits_plain_text("A\n\nB\n", "c.txt", plain, error));
    EXPECT_EQ(plain, "A\r\rB\r") << "blank lines are kept, the final newline adds none";
}

TEST(AssetsCompiler, CreditsRefuseWhatTheScreenCannotShow) {
    EXPECT_EQ(credits_error("ok\nbad (paren)\n"),
              "c.txt:2: column 5 holds byte 40, which the font cannot draw (letters, digits, space and ' . - + @ ! ? [ ] / : , only)");
    EXPECT_NE(credits_error("tab\there\n").find("c.txt:1: column 4"), std::string::npos);
    EXPECT_EQ(credits_error(""), "c.txt: the credits text is empty");
    // 64 m's are 64 * 6 = 384 pixels; 53 are 318.
    EXPECT_NE(credits_error(std::string(64, 'm') + "\n").find("384 pixels wide"), std::string::npos);
    EXPECT_EQ(credits_error(std::string(53, 'm') + "\n"), "");
    std::string lines;
    for (int i = 0; i < 499; ++i) lines += "x\n";
    EXPECT_EQ(credits_error(lines), "");
    EXPECT_NE(credits_error(lines + "x\n").find("500 lines"), std::string::npos);
    std::string big;
    while (big.size() < 15000) big += std::string(49, 'i') + "\n";
    EXPECT_NE(credits_error(big).find("the credits screen holds 14999"), std::string::npos);
}

TEST(AssetsCompiler, CreditsScrambleIsKeyedByPositionAndUndoesItself) {
    std::vector<uint8_t> zeros(300, 0);
    auto key = credits_scramble(zeros);
    EXPECT_EQ(key[0], 0);
    EXPECT_EQ(key[15], 225);
    EXPECT_EQ(key[16], 1);  // 256 mod 255
    EXPECT_EQ(key[255], 0);
    EXPECT_EQ(key[271], key[16]) << "the key repeats every 255 bytes";
    std::vector<uint8_t> text = {'Q', 'V', 'A', 'R', '\r'};
    EXPECT_EQ(credits_scramble(credits_scramble(text)), text);
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(compile_credits("QVAR\n", "c.txt", out, error));
    EXPECT_EQ(out, credits_scramble(text));
}

}  // namespace
}  // namespace qvar::assets
