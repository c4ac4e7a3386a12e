// One game frame: every step in its fixed order, and the test that ends the loop.
#pragma once

#include "model/game_state.h"
#include "model/system.h"

namespace qvar {

// Tested before every frame, the first included: true when Q is held or no ship is left.
bool game_should_end(System& sys, const Game& game);

// Runs one frame: messages, fire, weapon choice, turning, thrust, motion, the display's
// first half, sparks, the per-frame resets, the world's steps (foes, hits, destruction,
// debris), boni, shots, the ship's end of frame and the level end, the score, the pause,
// present and the 10 ms delay. Each game key is read once, at its step. Throws
// QuitRequested when the window is closed (at the pump or inside the pause).
void run_frame(System& sys, Game& game);

// Steps 2..17 alone (no pump, pause, present or delay), for tests and the benchmark.
void simulate_frame(System& sys, Game& game);

}  // namespace qvar
