// The world's steps of a game frame: the foe pass with its collision tests, the hit pairs,
// destruction with break-up and scoring, and the debris.
#pragma once

#include "game/game_state.h"
#include "platform/system.h"

namespace qvar {

// Frame step 9: clears the effect bits of the free foe slots, foe_dead of the live foes,
// shot_spent of the live shots, and empties the hit pairs.
void prepare_foe_pass(Game& game);
// Frame step 10: moves, burns, runs and draws every foe, testing it against ship and shots.
void foe_step(System& sys, Game& game);
// Frame step 11: turns the hit pairs into foe_dead, shot_spent and plasma burns.
void apply_hit_pairs(Game& game);
// Frame step 12: carries out every foe_dead mark: sparks, points, fragments, pick-ups.
void destroy_step(System& sys, Game& game);
// Frame step 13: jitters, culls and draws every debris dot.
void debris_step(System& sys, Game& game);

}  // namespace qvar
