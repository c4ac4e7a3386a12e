// Parser for the text pixel maps: keys, sprite headers and rows, with line-numbered errors.
#include "art_source.h"

#include <array>
#include <charconv>
#include <optional>

namespace qvar::assets {

namespace {

// One key table: for each printable character, its palette index if it has one.
using KeyTable = std::array<std::optional<uint8_t>, 128>;

std::vector<std::string_view> split_words(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

std::string_view trim_right(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool parse_int(std::string_view word, int lo, int hi, int& value) {
    int v = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool is_pixel_char(char c) { return c > ' ' && c < 127; }

struct Parser {
    std::string_view text;
    const std::string& source;
    std::vector<ArtSprite>& out;
    std::string& error;
    size_t pos = 0;
    int line_no = 0;
    KeyTable file_keys{};

    bool fail(int line, const std::string& what) {
        error = source + ":" + std::to_string(line) + ": " + what;
        return false;
    }

    // The next line without its terminator; false at the end of the text.
    bool next_line(std::string_view& line) {
        if (pos >= text.size()) return false;
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        line = trim_right(text.substr(pos, end - pos));
        pos = end + 1;
        ++line_no;
        return true;
    }

    bool parse_key(std::string_view line, KeyTable& keys, bool allow_redefine, char& key);
    bool parse_sprite(const std::vector<std::string_view>& header);
    bool parse_rows(ArtSprite& art, const KeyTable& keys);
    bool run();
};

bool Parser::parse_key(std::string_view line, KeyTable& keys, bool allow_redefine, char& key) {
    std::vector<std::string_view> words = split_words(line);
    if (words.size() < 3 || words[1].size() != 1 || !is_pixel_char(words[1][0]))
        return fail(line_no, "a key line reads 'key C COLOUR' with C one visible character");
    key = words[1][0];
    std::string colour;
    for (size_t i = 2; i < words.size() && words[i][0] != '#'; ++i) colour += (i > 2 ? " " : "") + std::string(words[i]);
    uint8_t index = 0;
    std::string why;
    if (!parse_colour_name(colour, index, why)) return fail(line_no, why);
    auto& slot = keys[static_cast<size_t>(key)];
    if (slot && !allow_redefine) return fail(line_no, "key '" + std::string(1, key) + "' is given twice");
    slot = index;
    return true;
}

bool Parser::parse_rows(ArtSprite& art, const KeyTable& keys) {
    const Sprite& s = art.sprite;
    for (int row = 0; row < s.height; ++row) {
        std::string_view line;
        if (!next_line(line))
            return fail(line_no, "sprite '" + art.name + "' ends after " + std::to_string(row) + " of " +
                                     std::to_string(s.height) + " rows");
        if (line.size() != s.width)
            return fail(line_no, "sprite '" + art.name + "' row " + std::to_string(row) + " is " +
                                     std::to_string(line.size()) + " pixels wide, expected " +
                                     std::to_string(s.width));
        for (size_t col = 0; col < line.size(); ++col) {
            char c = line[col];
            if (!is_pixel_char(c) || !keys[static_cast<size_t>(c)])
                return fail(line_no, "sprite '" + art.name + "' row " + std::to_string(row) +
                                         " uses '" + std::string(1, c) + "', which has no key");
            art.sprite.pixels[static_cast<size_t>(row) * s.width + col] = *keys[static_cast<size_t>(c)];
        }
    }
    return true;
}

bool Parser::parse_sprite(const std::vector<std::string_view>& header) {
    if (header.size() != 3) return fail(line_no, "a sprite header reads 'sprite NAME WxH'");
    std::string_view size = header[2];
    size_t x = size.find('x');
    int w = 0, h = 0;
    if (x == std::string_view::npos || !parse_int(size.substr(0, x), 1, 255, w) ||
        !parse_int(size.substr(x + 1), 1, 255, h))
        return fail(line_no, "sprite size '" + std::string(size) + "' must be WxH, each 1..255");
    ArtSprite art;
    art.name = std::string(header[1]);
    art.line = line_no;
    art.sprite = make_sprite(static_cast<uint8_t>(w), static_cast<uint8_t>(h), TRANSPARENT);
    KeyTable keys = file_keys;
    KeyTable local{};
    size_t saved_pos = pos;
    int saved_line = line_no;
    std::string_view line;
    // Key lines right after the header belong to this sprite; a row never holds a space.
    while (next_line(line) && line.substr(0, 4) == "key ") {
        char key = 0;
        if (!parse_key(line, local, false, key)) return false;
        keys[static_cast<size_t>(key)] = local[static_cast<size_t>(key)];
        saved_pos = pos;
        saved_line = line_no;
    }
    pos = saved_pos;
    line_no = saved_line;
    if (!parse_rows(art, keys)) return false;
    out.push_back(std::move(art));
    return true;
}

bool Parser::run() {
    std::string_view line;
    while (next_line(line)) {
        std::vector<std::string_view> words = split_words(line);
        if (words.empty() || words[0][0] == '#') continue;
        if (words[0] == "key") {
            char key = 0;
            if (!parse_key(line, file_keys, true, key)) return false;
        } else if (words[0] == "sprite") {
            if (!parse_sprite(words)) return false;
        } else {
            return fail(line_no, "expected 'key', 'sprite' or a comment, found '" + std::string(words[0]) + "'");
        }
    }
    return true;
}

}  // namespace

bool parse_colour_name(std::string_view colour, uint8_t& index, std::string& error) {
    std::vector<std::string_view> w = split_words(colour);
    int a = 0, g = 0, b = 0;
    auto bad = [&](const std::string& why) {
        error = "colour '" + std::string(colour) + "': " + why;
        return false;
    };
    if (w.size() == 1 && w[0] == "clear") {
        index = TRANSPARENT;
        return true;
    }
    if (w.size() == 1) {
        if (!parse_int(w[0], 0, 255, a)) return bad("a palette index is 0..255");
        index = static_cast<uint8_t>(a);
        return true;
    }
    if (w.size() == 2 && w[0] == "grey") {
        if (!parse_int(w[1], 0, 15, a)) return bad("grey takes 0..15");
        index = static_cast<uint8_t>(16 + a);
        return true;
    }
    constexpr std::pair<std::string_view, int> wheels[] = {{"full", 32}, {"light", 56}, {"pale", 80}, {"dark", 104}};
    for (auto [name, base] : wheels) {
        if (w.size() == 2 && w[0] == name) {
            if (!parse_int(w[1], 0, 23, a)) return bad("a hue wheel position is 0..23");
            index = static_cast<uint8_t>(base + a);
            return true;
        }
    }
    if (w.size() == 4 && w[0] == "cube") {
        if (!parse_int(w[1], 0, 4, a) || !parse_int(w[2], 0, 4, g) || !parse_int(w[3], 0, 4, b))
            return bad("cube takes three levels 0..4 (red green blue)");
        index = static_cast<uint8_t>(128 + a + 5 * g + 25 * b);
        return true;
    }
    return bad("expected a number, clear, grey N, full/light/pale/dark N or cube R G B");
}

bool parse_art(std::string_view text, const std::string& source_name, std::vector<ArtSprite>& out,
               std::string& error) {
    Parser p{text, source_name, out, error};
    return p.run();
}

}  // namespace qvar::assets
