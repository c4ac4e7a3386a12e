// The main menu loop: one frame draws sparks, title, items, level pane, list and pointer,
// then adds new sparks, presents, pumps one message and waits out the rest of its 10 ms.
#include "screens/main_menu.h"

#include "gfx/data_files.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "screens/menu_sparks.h"
#include "screens/screens.h"

namespace qvar {

const MenuItem MENU_ITEMS[MENU_ITEM_COUNT] = {
    {78, "Start"}, {93, "High Scores"}, {108, "Options"}, {123, "Instructions"}, {138, "Credits"}, {153, "Exit"},
};

namespace {

constexpr int32_t ITEM_LABEL_X = 40;
constexpr int32_t BAND_ROWS = 8;  // a band spans band_top .. band_top + 8

// Runs item i's action; returns false when the menu must stop this frame (Exit).
bool act(System& sys, MenuState& state, int32_t item) {
    switch (item) {
        case 0: state.leave = MenuLeave::Start; return true;
        case 1: show_high_scores(sys); return true;
        case 2: show_options(sys); return true;
        case 3: show_instructions(sys); return true;
        case 4: show_credits(sys); return true;
        default: state.leave = MenuLeave::Exit; return false;
    }
}

}  // namespace

bool menu_enter(System& sys, MenuState& state, LevelProgress& progress, std::string& error) {
    if (!load_sprite_record(sys.paths, SPRITES_FILE, POINTER_RECORD, state.pointer, error)) return false;
    progress = load_level_progress(sys.paths);
    state.pane = LevelPane{};
    state.menu_phase = 0.0f;
    state.leave = MenuLeave::None;
    return true;
}

int32_t hovered_item(int32_t mouse_x, int32_t mouse_y) {
    if (mouse_x >= PANE_LEFT) return -1;
    for (int32_t i = 0; i < MENU_ITEM_COUNT; ++i) {
        const int32_t top = MENU_ITEMS[i].band_top;
        if (mouse_y >= top && mouse_y <= top + BAND_ROWS) return i;
    }
    return -1;
}

void draw_menu_title(System& sys) {
    draw_text(sys.frame, sys.font, 30, 30, NO_WRAP, "QVAR\ndistribution 2a", 12, 4);
    draw_text(sys.frame, sys.font, 30, 50, NO_WRAP, "Kestrivane", 11, 3);
}

void menu_items_step(System& sys, MenuState& state) {
    for (int32_t i = 0; i < MENU_ITEM_COUNT; ++i) {
        const MenuItem& item = MENU_ITEMS[i];
        const int32_t label_y = item.band_top + 2;
        if (hovered_item(sys.input.mouse_x, sys.input.mouse_y) != i) {
            draw_text(sys.frame, sys.font, ITEM_LABEL_X, label_y, NO_WRAP, item.label, 10, 2);
            continue;
        }
        const auto top = static_cast<float>(item.band_top);
        const auto right = static_cast<float>(SCREEN_WIDTH - 1);
        draw_line(sys.frame, 0.0f, top, right, top, 2);
        draw_line(sys.frame, 0.0f, top + BAND_ROWS, right, top + BAND_ROWS, 2);
        draw_text(sys.frame, sys.font, ITEM_LABEL_X, label_y, NO_WRAP, item.label, 15, 7);
        if (sys.input.mouse_buttons != 0 && !act(sys, state, i)) return;
    }
}

void menu_frame(System& sys, MenuState& state, const LevelProgress& progress) {
    sys.platform.set_input_mode(InputMode::Pointer);  // also after a screen the menu opened
    menu_spark_step(sys.sparks, sys.frame, state.menu_phase);
    draw_menu_title(sys);
    menu_items_step(sys, state);
    if (state.leave == MenuLeave::Exit) return;
    if (level_pane_step(sys, state.pane, progress)) state.leave = MenuLeave::Level;
    draw_level_list(sys, state.pane, progress);
    draw_notice(sys);
    blit_sprite(sys.frame, static_cast<uint32_t>(sys.input.mouse_x), static_cast<uint32_t>(sys.input.mouse_y),
                state.pointer);
    spawn_trail(sys.sparks, sys.rng, sys.input.mouse_x, sys.input.mouse_y, state.menu_phase);
    maybe_colour_burst(sys.sparks, sys.rng);
    present_frame(sys);
    pump_or_quit(sys);
    // Unpaced, the sparks would fly at thousands of frames a second on a modern machine.
    delay_ms(sys, MENU_FRAME_MS);
    if (sys.quit_requested) throw QuitRequested{};  // seen during the wait: no further frame
    state.menu_phase += 0.1f;
}

GameStart menu_hand_over(const MenuState& state, const LevelProgress& progress) {
    GameStart start;  // level 0 (the first level played is 1) with 3 ships
    if (state.leave == MenuLeave::Level && level_selectable(progress, state.pane.hover_level)) {
        start.start_level = state.pane.hover_level - 1;
        start.ships = progress.ships[static_cast<size_t>(state.pane.hover_level / 10)];
    }
    return start;
}

MenuResult run_main_menu(System& sys, LevelProgress& progress) {
    MenuState state;
    std::string error;
    if (!menu_enter(sys, state, progress, error)) {
        fatal_error(sys, error);
        return {MenuOutcome::Failed, {}};
    }
    while (state.leave == MenuLeave::None) menu_frame(sys, state, progress);
    if (state.leave == MenuLeave::Exit) return {MenuOutcome::Exit, {}};
    return {MenuOutcome::Play, menu_hand_over(state, progress)};
}

}  // namespace qvar
