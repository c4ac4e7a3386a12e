// Fuzz targets for the four picture files: lets.dat, nums.dat, qvar.dat and boni.dat. What
// loads is drawn, so a picture that passed the checks is also safe to use.
#include "fuzz_support.h"
#include "game/game_sprites.h"
#include "gfx/data_files.h"
#include "gfx/draw.h"

namespace qvar::fuzz {

namespace {

// A place on (or just off) the screen chosen by the input.
int32_t coordinate(const std::vector<uint8_t>& bytes, size_t at, int32_t range) {
    return bytes.size() > at ? static_cast<int32_t>(bytes[at]) % (range + 40) - 20 : 0;
}

void require_shape(const Sprite& s, uint8_t width, uint8_t height) {
    require(s.width == width && s.height == height && s.pixels.size() == size_t{width} * height,
            "a loaded picture has its layout's shape");
}

}  // namespace

int fuzz_font(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = bytes_of(data, size);
    System& sys = fuzz_system();
    Font font;
    if (parse_font(bytes, font) != DataCheck::Ok) return 0;
    for (int i = 0; i < GLYPH_COUNT; ++i)
        require_shape(font.glyphs[static_cast<size_t>(i)], GLYPH_WIDTHS[static_cast<size_t>(i)], GLYPH_HEIGHT);
    draw_text(sys.frame, font, coordinate(bytes, 0, 320), coordinate(bytes, 1, 200), 300,
              "abcdefghijklmnopqrstuvwxyz 0123456789", 15, 7);
    return 0;
}

int fuzz_digits(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = bytes_of(data, size);
    System& sys = fuzz_system();
    std::array<Sprite, 10> digits;
    if (parse_large_digits(bytes, digits) != DataCheck::Ok) return 0;
    const std::array<Sprite, 10> swapped = swap_digit_colours(digits);
    for (size_t d = 0; d < 10; ++d) {
        require_shape(swapped[d], DIGIT_SHAPE.width, DIGIT_SHAPE.height);
        blit_sprite(sys.frame, static_cast<uint32_t>(coordinate(bytes, d, 320)), 100, digits[d]);
        blit_sprite_wrapped(sys.frame, coordinate(bytes, d + 10, 320), 50, swapped[d]);
    }
    return 0;
}

int fuzz_sprites(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = bytes_of(data, size);
    System& sys = fuzz_system();
    static constexpr SpriteRecord RECORDS[] = {SHIP_RECORD,    SAUCER_RECORD,      REPELLER_RECORD,   CELL_RECORDS[0],
                                               CELL_RECORDS[1], SPINNER_RECORD,    SPARE_RECORD_A,    SPARE_RECORD_B,
                                               POINTER_RECORD, TALLY_TENS_RECORD, TALLY_HUNDREDS_RECORD};
    for (size_t i = 0; i < std::size(RECORDS); ++i) {
        Sprite s;
        if (parse_record(bytes, RECORDS[i], s) != DataCheck::Ok) continue;
        require_shape(s, RECORDS[i].width, RECORDS[i].height);
        blit_sprite_wrapped(sys.frame, coordinate(bytes, i, 320), coordinate(bytes, i + 11, 200), s);
        if (i == 0) blit_sprite_wrapped(sys.frame, 100, 100, turn_ship_sprite(s, coordinate(bytes, 30, 63)));
    }
    return 0;
}

int fuzz_boni(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes = bytes_of(data, size);
    System& sys = fuzz_system();
    std::array<Sprite, 13> icons;
    if (parse_bonus_icons(bytes, icons) != DataCheck::Ok) return 0;
    for (size_t i = 0; i < icons.size(); ++i) {
        require_shape(icons[i], ICON_SHAPE.width, ICON_SHAPE.height);
        blit_sprite_wrapped(sys.frame, coordinate(bytes, i, 320), coordinate(bytes, i + 13, 200), icons[i]);
    }
    return 0;
}

}  // namespace qvar::fuzz
