// The game's pictures: the turned ship, foe pictures and tally marks from the data files,
// the pick-up icons, and the generated block and rock sprites.
#pragma once

#include <string>

#include "model/game_state.h"
#include "util/files.h"
#include "util/random.h"

namespace qvar {

inline constexpr int32_t SHIP_SIZE = 16;

// Orientation k of the ship: the base picture turned by 0.1 k radians. Pixels whose source
// falls outside the 16x16 base are transparent. `base` must be 16x16.
Sprite turn_ship_sprite(const Sprite& base, int32_t k);

// The four solid squares of sides 2, 5, 11 and 23 in the block colours.
void build_block_sprites(GameSprites& sprites);

// The 20 soft discs and their sizes (rock_sizes[0] = 0, then 10, 14, ... 44). Draws one
// random_real per lit pixel, row by row, for the speckle: call exactly once per set-up.
void build_rock_sprites(GameSprites& sprites, Random& rng);

// The built-in shot, bullet, pellet and core sprites.
void set_builtin_sprites(GameSprites& sprites);

// Called at the game's set-up, before anything random is drawn: reads the ship, the foe
// pictures and the tally marks from qvar.dat and the icons from boni.dat, and builds the 63
// ship orientations. Returns false with a one-line reason when a file is missing, short or
// damaged (a ship picture that is not 16x16 counts as damaged); nothing else is touched then.
bool load_game_sprites(const Paths& paths, GameSprites& sprites, std::string& error);

}  // namespace qvar
