// The shot step: flight, each weapon's effect on the field, drawing and removal.
#pragma once

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

inline constexpr float FLAME_REACH2 = 1000.0f;
inline constexpr float PLASMA_REACH2 = 300.0f;
inline constexpr float WHITEHOT_REACH2 = 1000.0f;

// Frame step 15, after the boni. Moves every shot (wrapping round the field), applies its
// kind: plain shots and bullets are drawn; a flame leaves 10 flame debris and marks foes
// within its reach in foe_flamed; a plasma ball slows, glows with 20 dots and marks
// foe_plasma; white heat leaves 10 white debris and 4 sparks and marks foe_whitehot. Then a
// shot whose life is used up or that is marked spent is removed (swap with last; the shot
// moved in is next seen in the following frame).
void shot_step(System& sys, Game& game);

// Wraps a shot coordinate once: below 0 adds `size`, above `size` (strictly) subtracts it.
float wrap_shot_coord(float v, float size);

}  // namespace qvar
