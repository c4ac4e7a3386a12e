// One game from set-up to its end: the frame loop until Q or the last ship is gone.
#pragma once

#include <cstdint>

#include "platform/system.h"
#include "screens/progress_file.h"

namespace qvar {

struct GameStart {
    int32_t start_level = 0;  // the first level played is start_level + 1 (always >= 1)
    int32_t ships = 3;
};

struct GameOutcome {
    int32_t score = 0;
    int32_t level = 0;
};

// Builds a game, runs its frames and releases it. Throws QuitRequested when the window is
// closed (nothing is saved then beyond what the level records already wrote).
GameOutcome run_game(System& sys, const GameStart& start, LevelProgress& progress);

}  // namespace qvar
