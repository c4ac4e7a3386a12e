// A single game's recording: the state it starts from, so that it plays again on its own.
#pragma once

#include <cstdint>
#include <vector>

#include "game/game.h"
#include "model/system.h"
#include "store/progress_file.h"

namespace qvar {

// The start state a game's recording carries: both random generators, the start level and
// ships, the gamma, the input state, the level-progress table and any pending notice.
std::vector<uint8_t> encode_game_start(const System& sys, const GameStart& start, const LevelProgress& progress);
// Puts a decoded start state into `sys` (palette built from its gamma), `start` and
// `progress` (whose paths become sys.paths). False when the bytes are damaged; nothing is
// then changed.
bool apply_game_start(const std::vector<uint8_t>& bytes, System& sys, GameStart& start, LevelProgress& progress);

// Called just before a game starts (not in a playback): opens the game's recording in the
// player's recordings folder. When it cannot be made the game goes on unrecorded, after one
// line on stderr.
void start_game_recording(System& sys, const GameStart& start, const LevelProgress& progress);

}  // namespace qvar
