// One game from set-up to its end: the frame loop until Q or the last ship is gone.
#pragma once

#include <cstdint>

#include "model/system.h"
#include "store/progress_file.h"

namespace qvar {

struct GameStart {
    int32_t start_level = 0;  // the first level played is start_level + 1 (always >= 1)
    int32_t ships = 3;
};

struct GameOutcome {
    int32_t score = 0;
    int32_t level = 0;
    // The game could not start: a data file was missing or damaged. The reason has been
    // reported through fatal_error (display released, quit pending); the program must end,
    // with exit status 1 as after a failed start-up. Nothing was played.
    bool failed = false;
};

// Builds a game, runs its frames and releases it; the outcome is the score and level reached
// when Q was held or the last ship was used up. Throws QuitRequested when the window is
// closed (nothing is saved then beyond what the level records already wrote), and when the
// game's memory cannot be had (the display is released, no message). A missing or damaged
// qvar.dat or boni.dat is reported ("Oh sod it" with the reason) and returns `failed`.
GameOutcome run_game(System& sys, const GameStart& start, LevelProgress& progress);

}  // namespace qvar
