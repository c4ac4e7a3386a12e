// Heads-up display: digits, chevrons, icon tallies, the bullet bar and the score run-up.
#include "player/hud.h"

#include "gfx/draw.h"
#include "util/numeric.h"

namespace qvar {

namespace {

constexpr int32_t TALLY_STEP = 12;
constexpr int32_t FLAME_ROW = 16;
constexpr int32_t PLASMA_ROW = 28;
constexpr int32_t BULLET_ROW = 40;
constexpr int32_t ATTRACT_ROW = 52;
constexpr int32_t RETRO_ROW = 64;
constexpr int32_t BULLETS_PER_COLUMN = 25;

uint32_t u(int32_t v) { return static_cast<uint32_t>(v); }

// Icons k in [from, to) of a tally, stopping where they would start off the screen.
void tally_run(FrameBuffer& frame, int32_t x, int32_t y, int32_t from, int32_t to, const Sprite& icon,
               const Sprite* mark) {
    for (int32_t k = from; k < to; ++k) {
        const int64_t ix = static_cast<int64_t>(x) + static_cast<int64_t>(TALLY_STEP) * k;
        if (ix >= SCREEN_WIDTH) return;
        blit_sprite(frame, u(static_cast<int32_t>(ix)), u(y), icon);
        if (mark != nullptr) blit_sprite(frame, u(static_cast<int32_t>(ix)), u(y), *mark);
    }
}

void draw_level(System& sys, int32_t level) {
    const auto& digits = sys.large_digits_swapped;
    auto digit = [&](int32_t x, int32_t place) {
        const int32_t d = mod_floor(level / place, 10);
        blit_sprite(sys.frame, u(x), 0, digits[static_cast<size_t>(d)]);
    };
    if (level >= 10000) digit(0, 10000);
    if (level >= 1000) digit(8, 1000);
    if (level >= 100) digit(16, 100);
    if (level >= 10) digit(24, 10);
    digit(32, 1);
}

void draw_ships(FrameBuffer& frame, int32_t ships) {
    for (int32_t i = 0; i < ships; ++i) {
        const int32_t x0 = 46 + 3 * i;
        if (x0 >= SCREEN_WIDTH) return;
        const uint8_t colour = i == ships - 1 ? 12 : 14;
        put_pixel(frame, u(x0), 2, colour);
        put_pixel(frame, u(x0 + 1), 3, colour);
        put_pixel(frame, u(x0 + 2), 4, colour);
        put_pixel(frame, u(x0 + 1), 5, colour);
        put_pixel(frame, u(x0), 6, colour);
    }
}

// Grey ramp of the bar, symmetric about its middle: rows 40/49, 41/48, ... 44/45.
constexpr uint8_t BAR_DARK[5] = {22, 24, 26, 27, 28};
constexpr uint8_t BAR_LIGHT[5] = {24, 26, 28, 29, 30};

void draw_bullet_bar(FrameBuffer& frame, int32_t bullets) {
    const int32_t columns = bullets / BULLETS_PER_COLUMN;
    for (int32_t i = 0; i < columns && i < SCREEN_WIDTH; ++i) {
        const uint8_t* ramp = (i % 4 == 0) ? BAR_DARK : BAR_LIGHT;
        for (int32_t r = 0; r < 5; ++r) {
            put_pixel(frame, u(i), u(BULLET_ROW + r), ramp[r]);
            put_pixel(frame, u(i), u(BULLET_ROW + 9 - r), ramp[r]);
        }
    }
}

void draw_whitehot_dots(FrameBuffer& frame, int32_t timer) {
    for (int32_t x = 0; x < timer && x < SCREEN_WIDTH; x += 2) put_pixel(frame, u(x), 199, 15);
}

void draw_weapon_marker(FrameBuffer& frame, const Player& p) {
    int32_t x0 = 0, y0 = 0;
    switch (p.weapon) {
        case 2: x0 = TALLY_STEP * tally_count(p.flame_count); y0 = FLAME_ROW; break;
        case 3: x0 = TALLY_STEP * tally_count(p.plasma_count); y0 = PLASMA_ROW; break;
        case 5: x0 = p.bullets / BULLETS_PER_COLUMN + 2; y0 = BULLET_ROW; break;
        default: return;
    }
    put_pixel(frame, u(x0 + 2), u(y0 + 5), 15);
    put_pixel(frame, u(x0 + 1), u(y0 + 6), 15);
    put_pixel(frame, u(x0), u(y0 + 7), 15);
    put_pixel(frame, u(x0 + 1), u(y0 + 8), 15);
    put_pixel(frame, u(x0 + 2), u(y0 + 9), 15);
}

}  // namespace

int32_t tally_count(int32_t count) { return count / 100 + (count / 10) % 10 + count % 10; }

void draw_tally(FrameBuffer& frame, int32_t x, int32_t y, const Sprite& icon, const Sprite& tens_mark,
                const Sprite& hundreds_mark, int32_t count) {
    const int32_t h = count / 100;
    const int32_t t = (count / 10) % 10;
    const int32_t n = count % 10;
    tally_run(frame, x, y, 0, h, icon, &hundreds_mark);
    tally_run(frame, x, y, h, h + t, icon, &tens_mark);
    tally_run(frame, x, y, h + t, h + t + n, icon, nullptr);
}

void hud_first_half(System& sys, const Game& game) {
    const Player& p = game.player;
    const GameSprites& gs = game.sprites;
    draw_level(sys, p.level);
    draw_ships(sys.frame, p.ships);
    draw_tally(sys.frame, 0, FLAME_ROW, gs.bonus_icons[0], gs.tally_tens, gs.tally_hundreds, p.flame_count);
    draw_tally(sys.frame, 0, PLASMA_ROW, gs.bonus_icons[1], gs.tally_tens, gs.tally_hundreds, p.plasma_count);
    draw_bullet_bar(sys.frame, p.bullets);
    draw_tally(sys.frame, 0, ATTRACT_ROW, gs.bonus_icons[4], gs.tally_tens, gs.tally_hundreds, p.attract);
    draw_tally(sys.frame, 0, RETRO_ROW, gs.bonus_icons[9], gs.tally_tens, gs.tally_hundreds, p.retro);
    draw_whitehot_dots(sys.frame, p.whitehot_timer);
    draw_weapon_marker(sys.frame, p);
}

int32_t run_up_score(int32_t shown, int32_t score) {
    // In 64 bits: score - 2500 must not overflow near the bottom of the range.
    const int64_t s = shown;
    const int64_t target = score;
    if (s < target - 2500) return shown + 123;
    if (s < target - 1000) return shown + 25;
    if (s < target - 500) return shown + 10;
    if (s < target - 300) return shown + 5;
    if (s < target - 100) return shown + 3;
    if (s < target) return shown + 1;
    return shown;
}

int32_t score_digit_x(int32_t j) { return 300 - 8 * j - 2 * (j / 3); }

void hud_second_half(System& sys, Game& game) {
    Player& p = game.player;
    p.shown_score = run_up_score(p.shown_score, p.score);
    // A negative shown score cannot come from play; its digits are drawn without the sign.
    int64_t v = p.shown_score < 0 ? -static_cast<int64_t>(p.shown_score) : p.shown_score;
    int32_t j = 0;
    do {
        const auto d = static_cast<size_t>(v % 10);
        blit_sprite(sys.frame, u(score_digit_x(j)), 0, sys.large_digits[d]);
        v /= 10;
        ++j;
    } while (j < 9 && v != 0);
}

}  // namespace qvar
