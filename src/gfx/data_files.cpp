// Data-file loading: every record is checked against the layout before it is used.
#include "gfx/data_files.h"

namespace qvar {

namespace {

std::string where(const Paths& paths, const char* file) {
    return std::string(file) + " (looked in " + paths.data_dir + ")";
}

bool load_checked(const std::vector<uint8_t>& bytes, const Paths& paths, const char* file, SpriteRecord record,
                  Sprite& out, std::string& error) {
    if (record.offset + record.size > bytes.size()) {
        error = "Data file is too short: " + where(paths, file);
        return false;
    }
    if (!parse_sprite(bytes, record.offset, record.size, out) || out.record_size() != record.size) {
        error = "Data file is damaged: " + where(paths, file);
        return false;
    }
    return true;
}

bool read_data(const Paths& paths, const char* file, std::vector<uint8_t>& bytes, std::string& error) {
    auto data = read_file(paths.data(file));
    if (!data) {
        error = "Missing data file " + where(paths, file);
        return false;
    }
    bytes = std::move(*data);
    return true;
}

}  // namespace

bool load_sprite_record(const Paths& paths, const char* file, SpriteRecord record, Sprite& out,
                        std::string& error) {
    std::vector<uint8_t> bytes;
    return read_data(paths, file, bytes, error) && load_checked(bytes, paths, file, record, out, error);
}

bool load_font(const Paths& paths, Font& font, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!read_data(paths, FONT_FILE, bytes, error)) return false;
    for (int i = 0; i < GLYPH_COUNT; ++i) {
        size_t size = 2 + 5 * static_cast<size_t>(GLYPH_WIDTHS[static_cast<size_t>(i)]);
        Sprite& g = font.glyphs[static_cast<size_t>(i)];
        if (!load_checked(bytes, paths, FONT_FILE, {glyph_offset(i), size}, g, error)) return false;
        if (g.height != GLYPH_HEIGHT || g.width != GLYPH_WIDTHS[static_cast<size_t>(i)]) {
            error = "Data file is damaged: " + where(paths, FONT_FILE);
            return false;
        }
    }
    return true;
}

bool load_large_digits(const Paths& paths, std::array<Sprite, 10>& digits, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!read_data(paths, DIGITS_FILE, bytes, error)) return false;
    for (size_t d = 0; d < 10; ++d)
        if (!load_checked(bytes, paths, DIGITS_FILE, {d * DIGIT_RECORD, DIGIT_RECORD}, digits[d], error))
            return false;
    return true;
}

std::array<Sprite, 10> swap_digit_colours(const std::array<Sprite, 10>& digits) {
    std::array<Sprite, 10> swapped;
    for (size_t d = 0; d < 10; ++d) {
        swapped[d] = digits[d];
        for (uint8_t& p : swapped[d].pixels) {
            if (p < 128 || p == 255) {
                p = 255;
                continue;
            }
            int v = p - 128;
            int r = v % 5, g = (v / 5) % 5, b = v / 25;
            p = static_cast<uint8_t>(128 + b + 5 * g + 25 * r);
        }
    }
    return swapped;
}

bool load_bonus_icons(const Paths& paths, std::array<Sprite, 13>& icons, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!read_data(paths, BONI_FILE, bytes, error)) return false;
    for (size_t i = 0; i < 13; ++i)
        if (!load_checked(bytes, paths, BONI_FILE, {i * ICON_RECORD, ICON_RECORD}, icons[i], error)) return false;
    return true;
}

}  // namespace qvar
