// Level select: scrolling, the click test and the list of reached tenth levels.
#include "screens/level_select.h"


#include "gfx/draw.h"
#include "gfx/text.h"
#include "util/float_math.h"
#include "util/numeric.h"

namespace qvar {

namespace {

constexpr int32_t LIST_ENTRIES = 10;
constexpr int32_t DIGITS_X = 250;   // units digit; each further digit 8 pixels left
constexpr int32_t MARKS_X = 262;    // first chevron; each further one 3 pixels right
constexpr int32_t UP_ZONE = 30;     // pointer above this row scrolls up
constexpr int32_t DOWN_ZONE = 170;  // pointer below this row scrolls down

uint8_t entry_ships(const LevelProgress& progress, int32_t level) {
    if (level < 0 || level / 10 >= PROGRESS_ENTRIES) return 0;
    return progress.ships[static_cast<size_t>(level / 10)];
}

// Three lines: a base along `base_y` and two sides meeting at (260, tip_y).
void draw_arrow(FrameBuffer& fb, float base_y, float tip_y, uint8_t colour) {
    draw_line(fb, 201.0f, base_y, 319.0f, base_y, colour);
    draw_line(fb, 201.0f, base_y, 260.0f, tip_y, colour);
    draw_line(fb, 319.0f, base_y, 260.0f, tip_y, colour);
}

// Scroll speed in level units per frame: exponential in the depth into the edge zone,
// linear in the distance right of the divider.
float scroll_speed(int32_t mouse_x, int32_t depth) {
    return static_cast<float>(mouse_x - PANE_LEFT) * (exponential(0.1f * static_cast<float>(depth)) - 1.0f) * 0.01f;
}

void scroll_with_arrows(FrameBuffer& fb, LevelPane& pane, int32_t mouse_x, int32_t mouse_y) {
    bool up = mouse_y < UP_ZONE && pane.level_scroll > 0.0f;
    if (up) pane.level_scroll -= scroll_speed(mouse_x, UP_ZONE - mouse_y);
    draw_arrow(fb, static_cast<float>(UP_ZONE), 0.0f, up ? 12 : 1);
    bool down = mouse_y > DOWN_ZONE && pane.level_scroll < MAX_LEVEL_SCROLL;
    if (down) pane.level_scroll += scroll_speed(mouse_x, mouse_y - DOWN_ZONE);
    draw_arrow(fb, static_cast<float>(DOWN_ZONE), static_cast<float>(SCREEN_HEIGHT - 1), down ? 12 : 1);
}

float clamp_scroll(float scroll) {
    if (!(scroll > 0.0f)) return 0.0f;  // NaN included
    return scroll > MAX_LEVEL_SCROLL ? MAX_LEVEL_SCROLL : scroll;
}

void draw_entry(System& sys, int32_t level, float y, uint8_t ships, bool hovered) {
    const auto& digits = hovered ? sys.large_digits : sys.large_digits_swapped;
    const uint32_t row = trunc_coord(y);
    int32_t k = 0;
    for (int32_t v = level; v > 0; v /= 10, ++k)
        blit_sprite(sys.frame, static_cast<uint32_t>(DIGITS_X - 8 * k), row, digits[static_cast<size_t>(v % 10)]);
    for (int32_t m = 0; m < ships; ++m) {
        const uint8_t colour = m == ships - 1 ? 12 : 14;
        const auto x = static_cast<uint32_t>(MARKS_X + 3 * m);
        put_pixel(sys.frame, x, row, colour);
        put_pixel(sys.frame, x + 1, trunc_coord(y + 1.0f), colour);
        put_pixel(sys.frame, x + 2, trunc_coord(y + 2.0f), colour);
        put_pixel(sys.frame, x + 1, trunc_coord(y + 3.0f), colour);
        put_pixel(sys.frame, x, trunc_coord(y + 4.0f), colour);
    }
}

}  // namespace

int32_t level_under(int32_t mouse_y, float level_scroll) {
    return trunc_i32((0.5f * static_cast<float>(mouse_y) + level_scroll) / 10.0f) * 10;
}

bool level_selectable(const LevelProgress& progress, int32_t level) {
    // Entry 0 would start a game at level 0, which has no composition: never offered.
    return level >= 10 && entry_ships(progress, level) != 0;
}

bool level_pane_step(System& sys, LevelPane& pane, const LevelProgress& progress) {
    const InputState& in = sys.input;
    pane.hover_level = level_under(in.mouse_y, pane.level_scroll);
    if (in.mouse_x <= PANE_LEFT) {
        draw_text(sys.frame, sys.font, 202, 2, NO_WRAP, "Start at level", 10, 2);
        return false;
    }
    draw_line(sys.frame, static_cast<float>(PANE_LEFT), 0.0f, static_cast<float>(PANE_LEFT),
              static_cast<float>(SCREEN_HEIGHT - 1), 2);
    scroll_with_arrows(sys.frame, pane, in.mouse_x, in.mouse_y);
    draw_text(sys.frame, sys.font, 202, 2, NO_WRAP, "Start at level", 15, 7);
    pane.level_scroll = clamp_scroll(pane.level_scroll);
    return in.mouse_buttons != 0 && level_selectable(progress, pane.hover_level);
}

void draw_level_list(System& sys, const LevelPane& pane, const LevelProgress& progress) {
    const int32_t first = trunc_i32(pane.level_scroll / 10.0f) * 10;
    const bool pane_active = sys.input.mouse_x > PANE_LEFT;
    for (int32_t e = 0; e < LIST_ENTRIES; ++e) {
        const int32_t level = first + 10 * e;
        if (!level_selectable(progress, level)) continue;  // unreached, or entry 0
        const float y = 2.0f * (static_cast<float>(level) - pane.level_scroll);
        draw_entry(sys, level, y, entry_ships(progress, level), pane_active && level == pane.hover_level);
    }
}

}  // namespace qvar
