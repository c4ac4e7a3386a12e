// Pick-ups in play: drift, attraction, collection and their effects.
#pragma once

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

// Frame step 14: moves, tests and draws every bonus.
void boni_step(System& sys, Game& game);

}  // namespace qvar
