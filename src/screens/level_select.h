// The level-select pane on the right of the main menu: every tenth level once reached, with
// the ships held on arrival, in a list that scrolls when the pointer nears its top or bottom.
#pragma once

#include <cstdint>

#include "model/system.h"
#include "store/progress_file.h"

namespace qvar {

inline constexpr int32_t PANE_LEFT = 200;          // the pane is active right of this column
inline constexpr float MAX_LEVEL_SCROLL = 9910.0f;  // the last screenful shows 9910 .. 10000

struct LevelPane {
    float level_scroll = 0.0f;  // list position in level units, 0 .. 9910
    int32_t hover_level = 0;    // the tenth level under the pointer, before this frame's scroll
};

// The tenth level under a pointer row at a scroll position: trunc((y/2 + scroll)/10) * 10.
int32_t level_under(int32_t mouse_y, float level_scroll);

// True when a click on `level` may start a game there: a reached entry of the table, never
// entry 0 (no game can start at level 0).
bool level_selectable(const LevelProgress& progress, int32_t level);

// Fourth step of a menu frame. Computes hover_level, then, with the pointer right of x = 200,
// draws the divider and the arrows and scrolls (faster nearer the edge and further right);
// draws the caption; keeps the scroll within 0 .. 9910. Returns true when a button is down
// over a selectable level: the menu then leaves into a game at hover_level.
bool level_pane_step(System& sys, LevelPane& pane, const LevelProgress& progress);

// Fifth step: the ten list entries from the scroll position. Each reached entry shows its
// number in large digits (the plain set for the hovered entry while the pane is active, the
// swapped set otherwise) and one chevron per ship, the last one red.
void draw_level_list(System& sys, const LevelPane& pane, const LevelProgress& progress);

}  // namespace qvar
