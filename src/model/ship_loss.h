// The ship's loss: called by the world when a foe touches the ship.
#pragma once

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

// A foe touched the ship while it was alive and not invincible: a burst of up to 1000
// sparks in every hue from the ship and death_timer = 1. The ship keeps drifting.
void destroy_ship(System& sys, Game& game);

}  // namespace qvar
