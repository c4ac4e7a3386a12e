// The whole program after the backend is chosen: start-up, then menu, game, game over and
// high scores, round and round until Exit or the window is closed.
#pragma once

#include "model/system.h"

namespace qvar {

// Runs the program on a System whose platform and paths are set. Returns the exit status:
// 0 after Exit or a quit request, 1 when start-up failed (the reason has been reported).
int game_main(System& sys);

}  // namespace qvar
