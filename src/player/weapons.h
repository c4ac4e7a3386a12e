// Choosing the weapon and firing volleys into the shot pool.
#pragma once

#include "model/game_state.h"

namespace qvar {

inline constexpr int32_t MAX_BULLETS = 2500;
inline constexpr int32_t GUN_REPEAT_FRAMES = 3;
inline constexpr float SHOT_RANGE = 200.0f;
inline constexpr float RECOIL = 0.07f;
inline constexpr int32_t MAX_VOLLEY = 1 << 24;  // far above any volley the upgrades can build

// Frame step 2. Fires a volley when Space is down and it is a new press (or the machine-gun
// has cooled down), the pool has room for one shot and the ship is alive; then remembers
// Space and cools the gun by one frame. Returns the number of shots created.
int32_t fire_step(Game& game, bool space_down);

// The volley itself: spread x stream shots ahead of the ship, then `surround` shots round
// it, cut short at the pool's capacity, and the weapon's cost and recoil.
int32_t fire_volley(Game& game);

// Frame step 3: a Control press steps to the next weapon, the availability rules bring the
// choice to an available weapon (white-hot fire forces weapon 4), Control is remembered.
void select_weapon(Player& p, bool control_down);

}  // namespace qvar
