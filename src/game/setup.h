// A game's set-up: sprites, pools, the start burst and the player's starting state.
#pragma once

#include <string>

#include "game/game.h"
#include "model/game_state.h"

namespace qvar {

// The player's state at the start of a game: `ships` and `start_level` from the menu,
// everything else at its starting value.
Player starting_player(const GameStart& start);

// Empties every pool of the game and clears all its bitsets (the spark pool is not the
// game's and is left alone).
void empty_game_pools(Game& game);

// Called once per game on a freshly allocated Game: loads and builds the sprites, empties
// the pools, throws the start burst of 1000 sparks, sets the player and links the progress
// table. Returns false with a one-line reason when a data file is missing or damaged; then
// no random number has been drawn and the spark pool is untouched.
bool set_up_game(System& sys, Game& game, const GameStart& start, LevelProgress& progress, std::string& error);

}  // namespace qvar
