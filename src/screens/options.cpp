// Options screen: gamma arrows, the sample ship, "Back", and saving prefs.dat on the way out.
#include "screens/options.h"

#include <cstdio>

#include "gfx/data_files.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "store/prefs_file.h"

namespace qvar {

namespace {

// The step factor and the limits are doubles: the comparisons and the divide happen in
// double precision and the result is rounded back to the float gamma.
constexpr double GAMMA_STEP = 1.01;
constexpr double GAMMA_LOW = 0.1;
constexpr double GAMMA_HIGH = 10.0;

struct Pixel {
    uint32_t x, y;
};
constexpr Pixel DECREASE_CHEVRON[5] = {{132, 60}, {131, 61}, {130, 62}, {131, 63}, {132, 64}};
constexpr Pixel INCREASE_CHEVRON[5] = {{145, 60}, {146, 61}, {147, 62}, {146, 63}, {145, 64}};

struct OptionsSprites {
    Sprite ship;
    Sprite pointer;
};

bool inside(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

// One arrow: colour 14 when not hovered, 12 when hovered, 15 when a held click moved gamma.
void arrow(System& sys, int32_t x_lo, bool up, const Pixel (&chevron)[5]) {
    uint8_t colour = 14;
    if (inside(sys.input.mouse_x, x_lo, x_lo + 14) && inside(sys.input.mouse_y, 55, 69)) {
        colour = 12;
        const bool can = up ? gamma_can_go_up(sys.gamma) : gamma_can_go_down(sys.gamma);
        if (sys.input.mouse_buttons != 0 && can) {
            sys.gamma = up ? gamma_step_up(sys.gamma) : gamma_step_down(sys.gamma);
            build_palette(sys, sys.gamma);
            colour = 15;
        }
    }
    for (const Pixel& p : chevron) put_pixel(sys.frame, p.x, p.y, colour);
}

// "Back" lights up anywhere in its band; a click there ends the screen after this frame.
bool back_item(System& sys) {
    if (!inside(sys.input.mouse_y, 78, 86)) {
        draw_text(sys.frame, sys.font, 40, 80, NO_WRAP, "Back", 10, 2);
        return false;
    }
    draw_text(sys.frame, sys.font, 40, 80, NO_WRAP, "Back", 15, 7);
    draw_line(sys.frame, 0.0f, 78.0f, 319.0f, 78.0f, 2);
    draw_line(sys.frame, 0.0f, 86.0f, 319.0f, 86.0f, 2);
    return sys.input.mouse_buttons != 0;
}

void load_options_sprites(const Paths& paths, OptionsSprites& s) {
    // A picture that cannot be loaded is left out; the screen works without it.
    std::string error;
    if (!load_sprite_record(paths, SPRITES_FILE, SHIP_RECORD, s.ship, error)) s.ship = Sprite{};
    if (!load_sprite_record(paths, SPRITES_FILE, POINTER_RECORD, s.pointer, error)) s.pointer = Sprite{};
}

// One frame: texts, both arrows (a held one steps gamma), "Back", the ship and the pointer.
// Returns true when "Back" is clicked in this frame.
bool options_frame(System& sys, const OptionsSprites& sprites) {
    char value[10];
    std::snprintf(value, sizeof value, "%.2f", static_cast<double>(sys.gamma));
    draw_text(sys.frame, sys.font, 30, 30, NO_WRAP, "Options Screen", 12, 4);
    draw_text(sys.frame, sys.font, 40, 60, NO_WRAP, "Gamma Correction", 10, 2);
    draw_text(sys.frame, sys.font, 110, 60, NO_WRAP, value, 11, 3);
    arrow(sys, 125, false, DECREASE_CHEVRON);
    arrow(sys, 140, true, INCREASE_CHEVRON);
    const bool done = back_item(sys);
    blit_sprite(sys.frame, 150, 50, sprites.ship);
    blit_sprite(sys.frame, static_cast<uint32_t>(sys.input.mouse_x), static_cast<uint32_t>(sys.input.mouse_y),
                sprites.pointer);
    return done;
}

}  // namespace

bool gamma_can_go_down(float gamma) { return static_cast<double>(gamma) > GAMMA_LOW; }
bool gamma_can_go_up(float gamma) { return static_cast<double>(gamma) < GAMMA_HIGH; }

float gamma_step_down(float gamma) {
    auto g = static_cast<float>(static_cast<double>(gamma) / GAMMA_STEP);
    if (static_cast<double>(g) < GAMMA_LOW) g = MIN_GAMMA;
    return g;
}

float gamma_step_up(float gamma) {
    auto g = static_cast<float>(static_cast<double>(gamma) * GAMMA_STEP);
    if (static_cast<double>(g) > GAMMA_HIGH) g = MAX_GAMMA;
    return g;
}

void show_options(System& sys) {
    sys.platform.set_input_mode(InputMode::Pointer);
    wait_buttons_released(sys);  // the click that opened the screen
    OptionsSprites sprites;
    load_options_sprites(sys.paths, sprites);
    bool done = false;
    while (!done) {
        done = options_frame(sys, sprites);
        present_frame(sys);
        pump_or_quit(sys);
        delay_ms(sys, 10);
    }
    wait_buttons_released(sys);  // the click on "Back" must not reach the menu
    // A quit that arrived during the last delay is still pending: leave without saving.
    if (sys.quit_requested) throw QuitRequested{};
    if (const FileResult saved = save_gamma(sys.paths, sys.gamma); !saved)
        notice_save_failure(sys, PREFS_FILE, "the gamma", saved);
}

}  // namespace qvar
