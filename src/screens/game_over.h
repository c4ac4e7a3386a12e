// Game over: the fades, the final score, name entry for a new high score, then the table.
#pragma once

#include <cstdint>

#include "model/system.h"
#include "screens/high_scores.h"

namespace qvar {

// The name being typed for a new entry: the zero-terminated text in `name`, `length`
// characters long (at most 49). Applies one typed character (already folded to lower case):
// 13 (Enter) reports the end; 8 (Backspace) removes the last character when there is one;
// any other code, control characters and a Backspace on an empty name included, is appended
// while there is room. Returns true when the entry is finished.
bool name_entry_key(NameBuffer& name, int32_t& length, char c);

// Called by the main cycle after a game, with the final score and level. Empties the spark
// pool, fades in "GAME OVER" and the final score, and, when the score enters the table,
// takes the name and saves hiscores.dat (atomically, only once Enter is pressed); otherwise
// waits for a character key. Ends with the high-score screen.
// Throws QuitRequested on a quit request; the table is then left as it was.
void run_game_over(System& sys, int32_t score, int32_t level);

}  // namespace qvar
