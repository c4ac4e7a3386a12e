// Instructions screen: two static pages, each left on screen until a key or click.
#include "screens/instructions.h"

#include "gfx/data_files.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "screens/bonus_kinds.h"

namespace qvar {

namespace {

// Where the long texts wrap: the first space after the pen passes this x.
constexpr int32_t BODY_MARGIN = 275;

constexpr const char* OBJECTIVE_TEXT =
    "To score as many points as possible and to progress through levels.  To do this you will normally need "
    "to shoot almost everything in sight.";

constexpr const char* KEYS_TEXT =
    "Left and right arrow keys to rotate\nUp arrow to move forward\nDown arrow to move backward if you have "
    "retro jets\nSpace-bar to fire\nControl to select weapon if you have collected others\nP to pause and Q "
    "to quit game";

constexpr const char* DISPLAY_TEXT =
    "Your score is displayed in the top-right corner of the screen and the level number is in the top-left "
    "corner.  Next to the level number is a display of the number of spaceships you have remaining.  Below "
    "it is a display of the weapons and upgrades you have currently available.  When an alternate weapon is "
    "selected a white chevron will point to its icon in this display.";

constexpr const char* CONTINUE_TEXT = "Press any key or click mouse to continue";

void text(System& sys, int32_t x, int32_t y, int32_t margin, const char* s, uint8_t colour, uint8_t shade) {
    draw_text(sys.frame, sys.font, x, y, margin, s, colour, shade);
}

}  // namespace

void draw_instructions_page1(System& sys) {
    text(sys, 30, 30, NO_WRAP, "Instructions", 12, 4);
    text(sys, 30, 40, NO_WRAP, "Objective", 11, 3);
    text(sys, 40, 50, BODY_MARGIN, OBJECTIVE_TEXT, 10, 2);
    text(sys, 30, 70, NO_WRAP, "Keys", 11, 3);
    text(sys, 40, 80, BODY_MARGIN, KEYS_TEXT, 10, 2);
    text(sys, 30, 120, NO_WRAP, "Display", 11, 3);
    text(sys, 40, 130, BODY_MARGIN, DISPLAY_TEXT, 10, 2);
    text(sys, 30, 170, NO_WRAP, CONTINUE_TEXT, 15, 7);
}

void draw_instructions_page2(System& sys, const std::array<Sprite, 13>& icons) {
    text(sys, 30, 30, NO_WRAP, "Instructions", 12, 4);
    text(sys, 30, 40, NO_WRAP, "Key to types of boni", 11, 3);
    // Records 0..9 form the first column, 10..12 a second one 100 pixels to the right.
    for (uint32_t i = 0; i < 13; ++i) {
        const uint32_t column = (i / 10) * 100;
        const uint32_t row = (i % 10) * 12;
        blit_sprite(sys.frame, 40 + column, 49 + row, icons[i]);
        draw_text(sys.frame, sys.font, static_cast<int32_t>(55 + column), static_cast<int32_t>(51 + row), NO_WRAP,
                  BONUS_NAMES[i], 10, 2);
    }
    text(sys, 30, 170, NO_WRAP, CONTINUE_TEXT, 15, 7);
}

void show_instructions(System& sys) {
    std::array<Sprite, 13> icons;
    std::string error;
    // Without a readable boni.dat the names still show, just without their icons.
    if (!load_bonus_icons(sys.paths, icons, error)) icons = {};
    sys.platform.set_input_mode(InputMode::PressAnyKey);
    // Shows the menu frame drawn so far and leaves the buffer empty for page 1.
    present_frame(sys);
    draw_instructions_page1(sys);
    present_frame(sys);
    wait_key_or_click(sys);
    draw_instructions_page2(sys, icons);
    present_frame(sys);
    wait_key_or_click(sys);
}

}  // namespace qvar
