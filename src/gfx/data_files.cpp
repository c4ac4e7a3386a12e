// Data-file loading: every record is checked against the layout, shape included, before use.
#include "gfx/data_files.h"

#include <cstdio>

#include "util/message_text.h"

namespace qvar {

DataCheck parse_record(const std::vector<uint8_t>& bytes, SpriteRecord record, Sprite& out) {
    out = Sprite{};
    if (record.offset > bytes.size() || record.size > bytes.size() - record.offset) return DataCheck::TooShort;
    // A record of the right size can still hold the wrong shape (a 15x7 saucer stored as 105x1):
    // it would load and draw garbled, so the width and height must match the layout exactly.
    if (bytes[record.offset] != record.width || bytes[record.offset + 1] != record.height) return DataCheck::Damaged;
    if (!parse_sprite(bytes, record.offset, record.size, out)) return DataCheck::Damaged;
    return DataCheck::Ok;
}

DataCheck parse_font(const std::vector<uint8_t>& bytes, Font& font) {
    for (int i = 0; i < GLYPH_COUNT; ++i) {
        const SpriteRecord record{glyph_offset(i), GLYPH_WIDTHS[static_cast<size_t>(i)], GLYPH_HEIGHT};
        const DataCheck check = parse_record(bytes, record, font.glyphs[static_cast<size_t>(i)]);
        if (check != DataCheck::Ok) return check;
    }
    return DataCheck::Ok;
}

namespace {

template <size_t N>
DataCheck parse_records(const std::vector<uint8_t>& bytes, SpriteRecord shape, std::array<Sprite, N>& out) {
    for (size_t i = 0; i < N; ++i) {
        const DataCheck check = parse_record(bytes, {i * shape.size, shape.width, shape.height}, out[i]);
        if (check != DataCheck::Ok) return check;
    }
    return DataCheck::Ok;
}

std::string where(const Paths& paths, const char* file) {
    return std::string(file) + " (looked in " + paths.data_dir + ")";
}

// Reads the bytes a data file's layout uses (`size`); anything past them is ignored.
bool read_data(const Paths& paths, const char* file, size_t size, std::vector<uint8_t>& bytes, std::string& error) {
    FileRead read = read_file(paths.data(file), size, Oversize::Cut);
    if (read.ok()) {
        bytes = std::move(read.bytes);
        return true;
    }
    if (read.problem == FileProblem::Missing) {
        error = "Missing data file " + where(paths, file);
    } else {
        std::fprintf(stderr, "qvar: cannot read %s: %s\n", printable(paths.data(file)).c_str(), read.reason.c_str());
        error = "Data file is damaged: " + where(paths, file);
    }
    return false;
}

bool checked(DataCheck check, const Paths& paths, const char* file, std::string& error) {
    if (check == DataCheck::TooShort) error = "Data file is too short: " + where(paths, file);
    if (check == DataCheck::Damaged) error = "Data file is damaged: " + where(paths, file);
    return check == DataCheck::Ok;
}

}  // namespace

DataCheck parse_large_digits(const std::vector<uint8_t>& bytes, std::array<Sprite, 10>& digits) {
    return parse_records(bytes, DIGIT_SHAPE, digits);
}

DataCheck parse_bonus_icons(const std::vector<uint8_t>& bytes, std::array<Sprite, 13>& icons) {
    return parse_records(bytes, ICON_SHAPE, icons);
}

bool load_sprite_record(const Paths& paths, const char* file, SpriteRecord record, Sprite& out,
                        std::string& error) {
    std::vector<uint8_t> bytes;
    return read_data(paths, file, record.offset + record.size, bytes, error) &&
           checked(parse_record(bytes, record, out), paths, file, error);
}

bool load_font(const Paths& paths, Font& font, std::string& error) {
    std::vector<uint8_t> bytes;
    return read_data(paths, FONT_FILE, font_file_size(), bytes, error) &&
           checked(parse_font(bytes, font), paths, FONT_FILE, error);
}

bool load_large_digits(const Paths& paths, std::array<Sprite, 10>& digits, std::string& error) {
    std::vector<uint8_t> bytes;
    return read_data(paths, DIGITS_FILE, DIGITS_FILE_SIZE, bytes, error) &&
           checked(parse_large_digits(bytes, digits), paths, DIGITS_FILE, error);
}

bool load_bonus_icons(const Paths& paths, std::array<Sprite, 13>& icons, std::string& error) {
    std::vector<uint8_t> bytes;
    return read_data(paths, BONI_FILE, BONI_FILE_SIZE, bytes, error) &&
           checked(parse_bonus_icons(bytes, icons), paths, BONI_FILE, error);
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

}  // namespace qvar
