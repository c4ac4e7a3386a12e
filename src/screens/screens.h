// The front-end screens the main menu and the game-over sequence call. Each blocks until the
// player leaves it and throws QuitRequested when the window is closed.
#pragma once

#include <cstdint>

#include "model/system.h"

namespace qvar {

void show_high_scores(System& sys);
void show_options(System& sys);
void show_instructions(System& sys);
void show_credits(System& sys);

// After a game: the two fades, the place and name entry, saving the table, then the
// high-score screen.
void run_game_over(System& sys, int32_t score, int32_t level);

}  // namespace qvar
