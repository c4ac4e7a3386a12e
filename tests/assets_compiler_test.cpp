// The asset compiler: its source format, its layout checks and its credits rules.
#include <gtest/gtest.h>

#include <string>

#include "asset_compiler.h"

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

TEST(AssetsCompiler, ColourSpecsNameThePaletteLayout) {
    const std::pair<const char*, int> good[] = {{"clear", 255}, {"7", 7},         {"grey 0", 16},   {"grey 15", 31},
                                                {"full 8", 40}, {"full 10", 42},  {"light 0", 56},  {"pale 23", 103},
                                                {"dark 0", 104}, {"cube 1 0 3", 204}, {"cube 4 4 4", 252}};
    uint8_t index = 0;
    std::string error;
    for (const auto& [name, want] : good) EXPECT_TRUE(parse_colour_name(name, index, error) && index == want) << name << error;
    for (const char* bad : {"256", "-1", "grey 16", "full 24", "cube 5 0 0", "cube 1 2", "teal 3", "", "12x"})
        EXPECT_FALSE(parse_colour_name(bad, index, error)) << bad;
}

// (What the game's own sources use, comments, keys, a sprite's own keys and rows, is proven by
// building them: a fault fails the build or changes the built pictures, which the recordings see.)
TEST(AssetsCompiler, RejectsMalformedSourcesNamingTheLine) {
    const std::string keys = "key . clear\nkey # 15\n";
    const std::pair<std::string, const char*> cases[] = {
        {keys + "sprite a 3x2\n#.#\n##\n", "t.txt:5: sprite 'a' row 1 is 2 pixels wide, expected 3"},
        {keys + "sprite a 2x1\n#x\n", "t.txt:4: sprite 'a' row 0 uses 'x', which has no key"},
        {keys + "sprite a 2x3\n##\n##\n", "t.txt:5: sprite 'a' ends after 2 of 3 rows"},
        {keys + "sprite a 2by3\n", "t.txt:3: sprite size"},
        {keys + "sprite a 0x3\n", "t.txt:3:"},
        {keys + "sprite a\n", "t.txt:3: a sprite header"},
        {"key x grey 99\n", "t.txt:1: colour 'grey 99'"},
        {"key xy 3\n", "t.txt:1: a key line"},
        {keys + "sprite a 1x1\nkey o 3\nkey o 4\no\n", "t.txt:5: key 'o' is given twice"},
        {"pixels 3\n", "t.txt:1: expected 'key', 'sprite'"},
        {keys + "sprite a 2x1\n# \n", "t.txt:4:"},  // a space is no pixel
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(art_error(text).rfind(message, 0), 0u) << art_error(text);
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

// The real layouts cut to their first sprite: a glyph may use only 15, 7 and clear, a digit
// only the colour cube.
TEST(AssetsCompiler, EnforcesTheFontAndDigitColours) {
    FileLayout font = font_layout(), digits = digits_layout();
    font.slots.resize(1), digits.slots.resize(1);
    const int w = font.slots[0].width;
    font.file_size = 2 + 5 * static_cast<size_t>(w);
    const std::string keys = "key . clear\nkey # 15\nkey + 7\nkey g 10\nkey o cube 4 2 0\nkey x 12\n";
    std::string glyph = keys + "sprite a " + std::to_string(w) + "x5\n";
    for (int r = 0; r < 5; ++r) glyph += std::string(static_cast<size_t>(w), r == 2 ? '+' : '#') + "\n";
    EXPECT_EQ(compile_error(glyph, font), "");
    glyph.replace(glyph.find("x5\n#") + 4, 1, "g");
    EXPECT_NE(compile_error(glyph, font).find("sprite 'a' pixel (1,0) is colour 10: font glyphs may use only"), std::string::npos)
        << compile_error(glyph, font);
    std::string digit = keys + "sprite 0 10x15\n";
    for (int r = 0; r < 15; ++r) digit += r == 3 ? "ooxooooo..\n" : "oooooooo..\n";
    EXPECT_NE(compile_error(digit, digits).find("sprite '0' pixel (2,3) is colour 12: large digits may use only colour-cube"),
              std::string::npos) << compile_error(digit, digits);
}

std::string credits_error(const std::string& text) {
    std::string plain, error;
    return credits_plain_text(text, "c.txt", plain, error) ? std::string() : error;
}

TEST(AssetsCompiler, CreditsEndLinesInCarriageReturnsAndRefuseWhatTheScreenCannotShow) {
    std::string plain, error;
    ASSERT_TRUE(credits_plain_text("One\nTwo\r\nThree\rFour\n\nB\n", "c.txt", plain, error)) << error;
    EXPECT_EQ(plain, "One\rTwo\rThree\rFour\r\rB\r") << "blank lines are kept, the final newline adds none";
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

}  // namespace
}  // namespace qvar::assets
