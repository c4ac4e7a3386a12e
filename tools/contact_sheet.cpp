// qvar_contact_sheet: one PNG showing every sprite of the compiled data files, for review.
//   qvar_contact_sheet DATA_DIR OUT.png
// Each sprite is shown 4x on a faint checker (transparent pixels show it) with its file and
// offset, and again at 1x on black as the game shows it; also the recoloured digit set, the
// ship turned as the game turns it, and the tally marks laid over an icon.
#include <array>
#include <cstdio>
#include <string>

#include "gfx/data_files.h"
#include "gfx/draw.h"
#include "gfx/palette.h"
#include "sheet_canvas.h"
#include "util/png.h"

namespace {

using qvar::Sprite;
using qvar::sheet::Canvas;

constexpr int32_t SHEET_WIDTH = 1200;
constexpr int32_t SHEET_HEIGHT = 940;
constexpr int32_t SCALE = 4;
constexpr uint8_t LABEL = 28, LABEL_SHADE = 22, TITLE = 31, TITLE_SHADE = 23;

struct Data {
    qvar::Font font;
    std::array<Sprite, 10> digits, swapped;
    std::array<Sprite, 13> icons;
    std::array<Sprite, 11> records;
};

constexpr std::array<std::pair<const char*, qvar::SpriteRecord>, 11> QVAR_RECORDS = {{
    {"ship", qvar::SHIP_RECORD},
    {"saucer", qvar::SAUCER_RECORD},
    {"repeller", qvar::REPELLER_RECORD},
    {"cell 0", qvar::CELL_RECORDS[0]},
    {"cell 1", qvar::CELL_RECORDS[1]},
    {"spinner", qvar::SPINNER_RECORD},
    {"spare", qvar::SPARE_RECORD_A},
    {"spare", qvar::SPARE_RECORD_B},
    {"pointer", qvar::POINTER_RECORD},
    {"tens", qvar::TALLY_TENS_RECORD},
    {"hundreds", qvar::TALLY_HUNDREDS_RECORD},
}};

constexpr const char* BONUS_LABELS[13] = {"flame",  "plasma", "white-hot", "spread", "attract", "+150",    "faster",
                                          "+1 life", "stream", "retro",     "m-gun",  "surround", "invincible"};

bool load_all(const qvar::Paths& paths, Data& d, std::string& error) {
    if (!qvar::load_font(paths, d.font, error) || !qvar::load_large_digits(paths, d.digits, error) ||
        !qvar::load_bonus_icons(paths, d.icons, error))
        return false;
    d.swapped = qvar::swap_digit_colours(d.digits);
    for (size_t i = 0; i < QVAR_RECORDS.size(); ++i)
        if (!qvar::load_sprite_record(paths, qvar::SPRITES_FILE, QVAR_RECORDS[i].second, d.records[i], error))
            return false;
    return true;
}

// One sprite enlarged on its checker with a label below; returns the x after it.
int32_t show(Canvas& c, const Data& d, int32_t x, int32_t y, const Sprite& s, const std::string& label) {
    c.checker(x, y, s.width * SCALE, s.height * SCALE, SCALE);
    c.blit(x, y, s, SCALE);
    c.text(x, y + s.height * SCALE + 3, d.font, label, LABEL, LABEL_SHADE);
    int32_t w = s.width * SCALE;
    int32_t lw = qvar::text_width(label);
    return x + (w > lw ? w : lw) + 12;
}

int32_t font_section(Canvas& c, const Data& d, int32_t y) {
    c.text(8, y, d.font, "lets.dat  font glyphs a-z 0-9", TITLE, TITLE_SHADE, 2);
    y += 16;
    int32_t x = 8;
    for (int i = 0; i < qvar::GLYPH_COUNT; ++i) {
        const Sprite& g = d.font.glyphs[static_cast<size_t>(i)];
        c.checker(x, y, g.width * SCALE, 5 * SCALE, SCALE);
        c.blit(x, y, g, SCALE);
        c.text(x, y + 23, d.font, std::to_string(qvar::glyph_offset(i)), LABEL, LABEL_SHADE);
        x += (g.width * SCALE > 16 ? g.width * SCALE : 16) + 8;
    }
    y += 34;
    const char* sample = "The quick brown fox jumps over the lazy dog. 0123456789 'Hi!' [1+2] a/b: x, y? -@-";
    const uint8_t pairs[][2] = {{15, 7}, {10, 2}, {11, 3}, {12, 4}, {13, 5}, {31, 23}};
    c.fill(8, y - 2, 330, 48, 0);
    for (int i = 0; i < 6; ++i) c.text(10, y + i * 8, d.font, sample, pairs[i][0], pairs[i][1]);
    c.fill(350, y - 2, 680, 48, 0);
    c.text(354, y + 2, d.font, "Start  High Scores  Options", 10, 2, 2);
    c.text(354, y + 16, d.font, "Instructions  Credits  Exit", 12, 4, 2);
    c.text(354, y + 30, d.font, "Initialising...  GAME OVER  Level 70", 13, 5, 2);
    return y + 54;
}

int32_t digits_section(Canvas& c, const Data& d, int32_t y) {
    c.text(8, y, d.font, "nums.dat  large digits, then the recoloured set", TITLE, TITLE_SHADE, 2);
    y += 16;
    int32_t x = 8;
    for (int k = 0; k < 20; ++k) {
        const Sprite& s = k < 10 ? d.digits[static_cast<size_t>(k)] : d.swapped[static_cast<size_t>(k - 10)];
        x = show(c, d, x, y, s, k < 10 ? "@" + std::to_string(152 * k) : "swap " + std::to_string(k - 10)) - 4;
    }
    y += 15 * SCALE + 14;
    // As the heads-up display sets them: 8 pixels apart, a 2-pixel gap after every three.
    c.fill(8, y - 4, 420, 24, 0);
    const char* score = "123456789";
    for (int j = 0; j < 9; ++j) c.blit(200 - 8 * j - 2 * (j / 3), y, d.digits[static_cast<size_t>(score[8 - j] - '0')], 1);
    for (int j = 0; j < 5; ++j) c.blit(20 + 8 * j, y, d.swapped[static_cast<size_t>((j + 7) % 10)], 1);
    for (int j = 0; j < 10; ++j) c.blit(230 + 10 * j + (j > 4 ? 4 : 0), y, d.digits[static_cast<size_t>(j)], 1);
    return y + 26;
}

int32_t records_section(Canvas& c, const Data& d, int32_t y) {
    c.text(8, y, d.font, "qvar.dat  ship, foes, pointer, tally marks", TITLE, TITLE_SHADE, 2);
    y += 16;
    int32_t x = 8;
    for (size_t i = 0; i < QVAR_RECORDS.size(); ++i) {
        const Sprite& s = d.records[i];
        x = show(c, d, x, y, s, std::string(QVAR_RECORDS[i].first) + " @" + std::to_string(QVAR_RECORDS[i].second.offset));
    }
    y += 16 * SCALE + 14;
    c.text(8, y, d.font, "the ship as the game turns it: orientations 0, 4, 8 ... 60", LABEL, LABEL_SHADE);
    y += 10;
    x = 8;
    for (int k = 0; k < 63; k += 4) {
        Sprite r = qvar::sheet::rotate_ship(d.records[0], k);
        c.checker(x, y, 64, 64, SCALE);
        c.blit(x, y, r, SCALE);
        x += 72;
    }
    return y + 72;
}

int32_t boni_section(Canvas& c, const Data& d, int32_t y) {
    c.text(8, y, d.font, "boni.dat  pick-up icons, then tally marks laid over an icon", TITLE, TITLE_SHADE, 2);
    y += 16;
    int32_t x = 8;
    for (int i = 0; i < 13; ++i)
        x = show(c, d, x, y, d.icons[static_cast<size_t>(i)], std::to_string(102 * i) + " " + BONUS_LABELS[i]) - 2;
    for (int m = 0; m < 2; ++m) {
        Sprite over = d.icons[static_cast<size_t>(m)];
        const Sprite& mark = d.records[9 + static_cast<size_t>(m)];
        for (size_t p = 0; p < over.pixels.size(); ++p)
            if (mark.pixels[p] != qvar::TRANSPARENT) over.pixels[p] = mark.pixels[p];
        x = show(c, d, x, y, over, m == 0 ? "x10" : "x100");
    }
    return y + 10 * SCALE + 16;
}

// A game frame as the game would compose it, drawn with the game's own sprite and text calls.
void mock_frame(qvar::FrameBuffer& fb, const Data& d) {
    fb.clear();
    for (int j = 0; j < 2; ++j) qvar::blit_sprite(fb, 24 + 8 * j, 0, d.swapped[static_cast<size_t>(j == 0 ? 4 : 2)]);
    for (int i = 0; i < 3; ++i) {
        const uint8_t c = i == 2 ? 12 : 14;
        const int32_t x0 = 46 + 3 * i;
        const int32_t px[5][2] = {{0, 2}, {1, 3}, {2, 4}, {1, 5}, {0, 6}};
        for (auto [dx, dy] : px) qvar::put_pixel(fb, static_cast<uint32_t>(x0 + dx), static_cast<uint32_t>(dy), c);
    }
    // Tallies: 123 flame throwers and 14 plasma balls, as the heads-up display lays them.
    const int counts[2] = {123, 14};
    for (int row = 0; row < 2; ++row) {
        int h = counts[row] / 100, t = (counts[row] / 10) % 10, u = counts[row] % 10;
        for (int k = 0; k < h + t + u; ++k) {
            const auto x = static_cast<uint32_t>(12 * k), y = static_cast<uint32_t>(16 + 12 * row);
            qvar::blit_sprite(fb, x, y, d.icons[static_cast<size_t>(row)]);
            if (k < h) qvar::blit_sprite(fb, x, y, d.records[10]);
            else if (k < h + t) qvar::blit_sprite(fb, x, y, d.records[9]);
        }
    }
    const char* score = "1234560";
    for (int j = 0; j < 7; ++j)
        qvar::blit_sprite(fb, static_cast<uint32_t>(300 - 8 * j - 2 * (j / 3)), 0, d.digits[static_cast<size_t>(score[6 - j] - '0')]);
    // The ship at the centre, foes round it at their drawing offsets, a few pick-ups.
    qvar::blit_sprite_wrapped(fb, 152, 92, qvar::sheet::rotate_ship(d.records[0], 3));
    qvar::blit_sprite_wrapped(fb, 230 - 7, 60 - 3, d.records[1]);
    qvar::blit_sprite_wrapped(fb, 80 - 10, 120 - 7, d.records[2]);
    qvar::blit_sprite_wrapped(fb, 250 - 6, 140 - 6, d.records[3]);
    qvar::blit_sprite_wrapped(fb, 262 - 6, 150 - 6, d.records[4]);
    qvar::blit_sprite_wrapped(fb, 130 - 5, 160 - 5, d.records[5]);
    for (int i = 0; i < 13; ++i) qvar::blit_sprite_wrapped(fb, 60 + 18 * i, 185, d.icons[static_cast<size_t>(i)]);
    qvar::draw_text(fb, d.font, 120, 40, qvar::NO_WRAP, "Press any key or click mouse", 15, 7);
    qvar::blit_sprite(fb, 200, 100, d.records[8]);
}

void game_strip(Canvas& c, const Data& d, int32_t y) {
    c.text(8, y, d.font, "a game frame, 2x, and every turned ship at 1x", TITLE, TITLE_SHADE, 2);
    y += 16;
    static qvar::FrameBuffer fb;
    mock_frame(fb, d);
    for (int32_t r = 0; r < qvar::SCREEN_HEIGHT; ++r)
        for (int32_t col = 0; col < qvar::SCREEN_WIDTH; ++col) c.fill(8 + 2 * col, y + 2 * r, 2, 2, fb.at(col, r));
    c.fill(660, y, 20 * 26 + 4, 3 * 22 + 4, 0);
    for (int k = 0; k < 63; ++k)
        c.blit(664 + 20 * (k % 26) + 2, y + 4 + 22 * (k / 26), qvar::sheet::rotate_ship(d.records[0], k), 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qvar_contact_sheet DATA_DIR OUT.png\n");
        return 2;
    }
    qvar::Paths paths{argv[1], argv[1]};
    Data d;
    std::string error;
    if (!load_all(paths, d, error)) {
        std::fprintf(stderr, "qvar_contact_sheet: %s\n", error.c_str());
        return 1;
    }
    Canvas c(SHEET_WIDTH, SHEET_HEIGHT, qvar::sheet::SHEET_BACKGROUND);
    int32_t y = font_section(c, d, 8);
    y = digits_section(c, d, y + 8);
    y = records_section(c, d, y + 8);
    y = boni_section(c, d, y + 8);
    game_strip(c, d, y + 8);
    if (!qvar::write_png_indexed(argv[2], SHEET_WIDTH, SHEET_HEIGHT, c.pixels.data(), qvar::rgb_triples(qvar::compute_palette(1.0f)))) {
        std::fprintf(stderr, "qvar_contact_sheet: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
