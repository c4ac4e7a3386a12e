// The game until its issue lands: ends at once with no score.
#include "game/game.h"

namespace qvar {

GameOutcome run_game(System&, const GameStart& start, LevelProgress&) { return {0, start.start_level}; }

}  // namespace qvar
