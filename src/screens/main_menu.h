// The main menu: title, six mouse-driven items, the level-select pane, the pointer and a field
// of sparks. The hub of the program: every game starts from here and ends back here.
#pragma once

#include <cstdint>

#include "game/game.h"
#include "gfx/sprite.h"
#include "model/system.h"
#include "screens/level_select.h"
#include "store/progress_file.h"

namespace qvar {

inline constexpr int32_t MENU_ITEM_COUNT = 6;
inline constexpr int32_t MENU_FRAME_MS = 10;  // pacing: sparks move one pixel per frame

enum class MenuLeave : uint8_t { None, Start, Level, Exit };

struct MenuItem {
    int32_t band_top;  // hovered while mouse_y is in band_top .. band_top + 8 and mouse_x < 200
    const char* label;
};

// Start, High Scores, Options, Instructions, Credits, Exit, in drawing and testing order.
extern const MenuItem MENU_ITEMS[MENU_ITEM_COUNT];

// Everything the menu keeps between its frames; reset at each entry.
struct MenuState {
    Sprite pointer;           // loaded from qvar.dat at each entry
    LevelPane pane;           // scroll position and the level under the pointer
    float menu_phase = 0.0f;  // drifts the trail's twinkle and colours; +0.1 per frame
    MenuLeave leave = MenuLeave::None;
};

enum class MenuOutcome : uint8_t { Play, Exit, Failed };

struct MenuResult {
    MenuOutcome outcome = MenuOutcome::Exit;
    GameStart start;  // for Play: level 0 with 3 ships, or the chosen level with its ships
};

// Menu entry: loads the pointer and the progress table and resets the state. False (with a
// one-line reason naming the file and folder) when qvar.dat is missing or damaged.
bool menu_enter(System& sys, MenuState& state, LevelProgress& progress, std::string& error);

// Item under the pointer, or -1: the band's nine rows and x below 200.
int32_t hovered_item(int32_t mouse_x, int32_t mouse_y);

// Second step of a frame: "QVAR", "distribution 2a" and "Kestrivane".
void draw_menu_title(System& sys);

// Third step: the items in table order; a hovered one gets its two green lines and white
// label and, with a button down, acts at once (a called screen runs to completion and the
// later items are tested against the input as it is afterwards). Stops at "Exit", setting
// leave to Exit; "Start" sets leave to Start.
void menu_items_step(System& sys, MenuState& state);

// One whole menu frame, steps 1 to 10, paced to 10 ms. Returns after an "Exit" click at once,
// without finishing the frame. Throws QuitRequested when the window is closed.
void menu_frame(System& sys, MenuState& state, const LevelProgress& progress);

// The game a finished menu hands over: the default start, or the level chosen in the last
// frame with the ships recorded for it.
GameStart menu_hand_over(const MenuState& state, const LevelProgress& progress);

// The whole menu from entry to leaving. `progress` is read at entry and stays with the caller
// for the game that follows. Throws QuitRequested when the window is closed.
MenuResult run_main_menu(System& sys, LevelProgress& progress);

}  // namespace qvar
