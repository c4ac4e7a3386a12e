// The world's steps of a game frame: the foe pass with its collision tests, the hit pairs,
// destruction with break-up and scoring, and the debris. Called by the frame loop in this
// order, each once per frame; none allocates, and no pool is ever filled past its capacity.
#pragma once

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

// Frame step 9: clears the effect bits of the free foe slots, foe_dead of the live foes,
// shot_spent of the live shots, and empties the hit pairs.
void prepare_foe_pass(Game& game);
// Frame step 10: moves, burns, runs and draws every foe, testing it against ship and shots.
// Foes born in the pass (pellets, divided cells) are visited in it; merging lodestones may
// shrink the pool. Marks foes in foe_dead, records hit pairs (at most 500), may call
// destroy_ship. Afterwards every live foe that stepped lies on the field and every real is
// finite.
void foe_step(System& sys, Game& game);
// Frame step 11: turns the hit pairs into foe_dead, shot_spent and plasma burns.
void apply_hit_pairs(Game& game);
// Frame step 12: carries out every foe_dead mark: sparks, points, fragments (as many as fit),
// pick-ups (one in 15), and removal. Clears the dead bit of every slot it vacates.
void destroy_step(System& sys, Game& game);
// Frame step 13: jitters, culls and draws every debris dot.
void debris_step(System& sys, Game& game);

}  // namespace qvar
