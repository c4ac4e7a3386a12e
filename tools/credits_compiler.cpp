// The credits text: line endings made carriage returns, every line checked, then scrambled.
#include <string_view>

#include "asset_compiler.h"
#include "gfx/text.h"

namespace qvar::assets {

namespace {

bool check_line(std::string_view line, const std::string& where, std::string& error) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (!credits_char_ok(line[i])) {
            unsigned code = static_cast<unsigned char>(line[i]);
            error = where + "column " + std::to_string(i + 1) + " holds byte " + std::to_string(code) +
                    ", which the font cannot draw (letters, digits, space and ' . - + @ ! ? [ ] / : , only)";
            return false;
        }
    }
    int32_t width = text_width(line);
    if (width > CREDITS_MAX_WIDTH) {
        error = where + "the line is " + std::to_string(width) + " pixels wide, the screen " +
                std::to_string(CREDITS_MAX_WIDTH);
        return false;
    }
    return true;
}

}  // namespace

bool credits_char_ok(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view(" '.-+@!?[]/:,").find(c) != std::string_view::npos;
}

bool credits_plain_text(std::string_view source, const std::string& source_name, std::string& plain,
                        std::string& error) {
    plain.clear();
    size_t lines = 0;
    size_t pos = 0;
    while (pos < source.size()) {
        size_t end = source.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = source.size();
        std::string_view line = source.substr(pos, end - pos);
        ++lines;
        if (!check_line(line, source_name + ":" + std::to_string(lines) + ": ", error)) return false;
        plain.append(line);
        plain.push_back('\r');
        // One line ending: LF, CR or CR LF.
        pos = end + 1;
        if (end < source.size() && source[end] == '\r' && pos < source.size() && source[pos] == '\n') ++pos;
    }
    if (lines == 0) {
        error = source_name + ": the credits text is empty";
        return false;
    }
    if (lines > CREDITS_MAX_LINES) {
        error = source_name + ": " + std::to_string(lines) + " lines, the credits screen holds " +
                std::to_string(CREDITS_MAX_LINES);
        return false;
    }
    if (plain.size() > CREDITS_MAX_BYTES) {
        error = source_name + ": " + std::to_string(plain.size()) + " bytes, the credits screen holds " +
                std::to_string(CREDITS_MAX_BYTES);
        return false;
    }
    return true;
}

std::vector<uint8_t> credits_scramble(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<uint8_t>(bytes[i] ^ static_cast<uint8_t>((i * i) % 255));
    return out;
}

bool compile_credits(std::string_view source, const std::string& source_name, std::vector<uint8_t>& out,
                     std::string& error) {
    std::string plain;
    if (!credits_plain_text(source, source_name, plain, error)) return false;
    out = credits_scramble(std::vector<uint8_t>(plain.begin(), plain.end()));
    return true;
}

}  // namespace qvar::assets
