// The high-score screen: the table drawn with its wobbling rows until a key or click.
#include "screens/high_scores.h"

#include <cstdio>

#include "gfx/text.h"
#include "util/float_math.h"
#include "util/numeric.h"

namespace qvar {

const char* ordinal_suffix(int32_t n) {
    const int32_t units = n % 10;
    const int32_t tens_and_units = n % 100;
    if (units == 1 && tens_and_units != 11) return "st";
    if (units == 2 && tens_and_units != 12) return "nd";
    if (units == 3 && tens_and_units != 13) return "rd";
    return "th";
}

void draw_high_scores(System& sys, const HighScoreTable& table, float t) {
    FrameBuffer& fb = sys.frame;
    char text[NAME_LENGTH];
    const int32_t hue = mod_floor(trunc_i32(t), 24);
    draw_text(fb, sys.font, SCREEN_WIDTH / 2 - 15, 0, NO_WRAP, "High Scores", low_byte(32 + hue),
              low_byte(104 + hue));
    for (int32_t i = 0; i < HIGH_SCORE_COUNT; ++i) {
        const auto row = static_cast<size_t>(i);
        const int32_t y = 15 + 8 * i;
        const int32_t w = trunc_i32(5.0f * sine(static_cast<float>(i) + t));
        std::snprintf(text, sizeof text, "%d.", i + 1);
        draw_text(fb, sys.font, 60 + w, y, NO_WRAP, text, 15, 7);
        const std::string_view name = name_text(table.names[row]);
        std::snprintf(text, sizeof text, "%.*s", static_cast<int>(name.size()), name.data());
        draw_text(fb, sys.font, 70 + w, y, NO_WRAP, text, low_byte(32 + i % 24), low_byte(104 + i % 24));
        std::snprintf(text, sizeof text, "%d", table.scores[row]);
        draw_text(fb, sys.font, 210 + w, y, NO_WRAP, text, low_byte(31 - (12 * i) / 20),
                  low_byte(24 - (6 * i) / 20));
    }
    draw_text(fb, sys.font, 30, SCREEN_HEIGHT - 10, NO_WRAP, "Press any key or click mouse to continue", 24, 20);
}

void show_high_scores(System& sys) {
    const HighScoreTable table = read_high_scores(sys.paths);
    sys.platform.set_input_mode(InputMode::PressAnyKey);
    // The key or click that opened the screen must not close it at once.
    wait_all_released(sys);
    float t = 0.0f;
    bool done = false;
    while (!done) {
        draw_high_scores(sys, table, t);
        done = sys.input.mouse_buttons != 0 || sys.input.char_typed != 0;
        draw_notice(sys);
        present_frame(sys);
        pump_or_quit(sys);
        delay_ms(sys, 10);
        t += 0.1f;
    }
    // The dismissing click must not reach the menu.
    wait_buttons_released(sys);
}

}  // namespace qvar
