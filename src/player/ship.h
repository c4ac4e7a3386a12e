// The player's ship: turning, thrust, motion, drawing, destruction, respawn and the
// blinking invincibility, each called at its place in the game frame.
#pragma once

#include "model/game_state.h"
#include "model/ship_loss.h"
#include "model/system.h"

namespace qvar {

inline constexpr float SHIP_ANGLE_WRAP = 6.283f;  // the turn the heading is kept within
inline constexpr int32_t RESPAWN_FRAMES = 100;
inline constexpr int32_t INVINCIBLE_AFTER_RESPAWN = 250;

// Frame step 4: Left takes 0.1 radian off the heading, Right adds 0.1; both cancel. Works
// while the ship is destroyed too.
void turn_ship(Player& p, bool left_down, bool right_down);

// Frame step 5: Up accelerates along the heading (THRUST) with 6 exhaust sparks; Down, with
// retro-thrusters, pushes backwards by (1 - 0.5^retro) THRUST with 6 sparks from the sides.
// Neither acts while the ship is destroyed.
void thrust_ship(System& sys, Game& game, bool up_down);
void retro_thrust_ship(System& sys, Game& game, bool down_down);

// Frame step 6, every frame: position, heading from the angle, the angle kept in
// [0, 6.283), damping by 0.99 and wrap-round of the position.
void move_ship(Player& p);

// The orientation drawn for the heading: trunc(10 angle), kept within 0 .. 62.
int32_t ship_orientation(float angle);

// Frame step 16, before the level end: draws the ship (blinking while invincible), counts
// the destroyed ship's frames, runs down the invincibility, the empty-field and white-hot
// timers, respawns the ship once 100 frames have passed and the shown score has caught up,
// and throws the ring of sparks one frame before an invincibility ends.
void ship_end_of_frame(System& sys, Game& game);

// The respawn itself: one ship fewer, back at the centre at rest and heading up, 250 frames
// of invincibility, a burst of sparks, and every supply and upgrade lost.
void respawn_ship(System& sys, Game& game);

}  // namespace qvar
