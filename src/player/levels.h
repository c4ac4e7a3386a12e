// Level composition by the recursive rule, and the change to the next level.
#pragma once

#include <array>
#include <cstdint>

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

// The composition of level n >= 1: ten slot counts.
std::array<int32_t, 10> compose_level(int32_t n);

// Frame step 16 (after the ship's timers and respawn): when the field has been empty for
// more than 150 frames and the shown score has caught up, the next level begins.
void level_end_step(System& sys, Game& game);

}  // namespace qvar
