// The player's ship: destruction (called by the foes' contact check).
#pragma once

#include "game/game_state.h"
#include "platform/system.h"

namespace qvar {

// A foe touched the ship while it was alive and not invincible: a burst of up to 1000
// sparks in every hue from the ship and death_timer = 1. The ship keeps drifting.
void destroy_ship(System& sys, Game& game);

}  // namespace qvar
